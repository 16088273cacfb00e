#include "tests/support/PictureBytes.h"
#include "tests/support/TemporaryFolder.h"

#include "Platform/Bundle.h"

#include <gtest/gtest.h>

using namespace ui;
using namespace testpictures;

namespace {

class BundleLookup : public ::testing::Test {
protected:
    void SetUp() override {
        bundle.setResourcePath(folder.path().string());
        writeFile(folder / "flag.png", solidPng(20, 30, {255, 0, 0, 255}));
        writeFile(folder / "circle@2x.png", solidPng(80, 80, {0, 0, 255, 255}));
        writeFile(folder / "Buttons/info pressed.png", solidPng(30, 20, {0, 255, 0, 255}));
        writeFile(folder / "Arrow Hints/3.png", solidPng(10, 10, {0, 255, 0, 255}));
        writeFile(folder / "torvexStart.jpg", solidJpeg(32, 48, {90, 90, 90, 255}));
        writeFile((folder / "url.txt"), "https://example.invalid/titles\n");
        writeFile((folder / "outside.txt"), "secret");
    }
    TemporaryFolder folder;
    Bundle bundle;
};

} // namespace

TEST_F(BundleLookup, FindsFilesAndPicturesByNameWithOrWithoutTheirTypeAndInsideFolders) {
    EXPECT_EQ(bundle.pathForResource("flag", "png"), (folder / "flag.png"));
    EXPECT_EQ(bundle.pathForResource("flag.png", "png"), (folder / "flag.png"));
    EXPECT_EQ(bundle.pathForResource("flag.png", ""), (folder / "flag.png"));
    EXPECT_EQ(bundle.pathForResource("info pressed", "png", "Buttons"),
              (folder / "Buttons/info pressed.png"));
    EXPECT_EQ(bundle.pathForResource("Arrow Hints/3.png", ""), (folder / "Arrow Hints/3.png"));
    EXPECT_EQ(bundle.pathForResource("url", "txt"), (folder / "url.txt"));
    EXPECT_EQ(bundle.text("url", "txt"), "https://example.invalid/titles\n");
    // Pictures default to PNG and keep a given extension.
    EXPECT_EQ(bundle.image("flag").size(), (Size{20, 30}));
    EXPECT_EQ(bundle.image("flag.png").size(), (Size{20, 30}));
    EXPECT_EQ(bundle.image("info pressed", "png", "Buttons").size(), (Size{30, 20}));
    EXPECT_EQ(bundle.image("torvexStart.jpg").size(), (Size{32, 48}));
    EXPECT_EQ(bundle.image("torvexStart", "jpg").size(), (Size{32, 48}));
}

TEST_F(BundleLookup, ADoubleScaleFileAloneCountsAsThePicture) {
    EXPECT_EQ(bundle.pathForResource("circle", "png"), (folder / "circle.png"));
    Image circle = bundle.image("circle");
    EXPECT_EQ(circle.size(), (Size{40, 40}));
    EXPECT_EQ(circle.fileName(), (folder / "circle@2x.png"));
}

TEST_F(BundleLookup, MissingResourcesAndFilesOutsideTheBundleAreNotFound) {
    EXPECT_EQ(bundle.pathForResource("nothing", "png"), std::nullopt);
    EXPECT_EQ(bundle.pathForResource("flag", "jpg"), std::nullopt);
    EXPECT_EQ(bundle.pathForResource("", "png"), std::nullopt);
    EXPECT_EQ(bundle.pathForResource("Buttons", ""), std::nullopt) << "a folder is no resource";
    EXPECT_TRUE(bundle.image("nothing").empty());
    EXPECT_EQ(bundle.text("nothing", "txt"), std::nullopt);
    // Nor is anything outside the bundle, whatever the name says.
    Bundle inner;
    inner.setResourcePath((folder / "Buttons"));
    EXPECT_EQ(inner.pathForResource("../outside", "txt"), std::nullopt);
    EXPECT_EQ(inner.pathForResource("outside", "txt", ".."), std::nullopt);
    EXPECT_EQ(inner.pathForResource((folder / "outside.txt"), ""), std::nullopt);
}
