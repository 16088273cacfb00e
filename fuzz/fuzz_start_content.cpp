// The start screen's two texts from the content server's side: the titles list and the bundle's address
// file. The input holds the titles list (escaped as FuzzedDataProvider's random-length strings are: a
// backslash doubles one, and a backslash before anything else ends the string), then the address file,
// and a last byte saying whether the list is also the cached copy in the documents folder. The screen
// is built offline with the list, every title is pressed, and the address file is read for both lines.
// Every line must give a title down to the bottom of the screen, only openable web addresses may reach
// the browser, and an address is always one whole line.

#include "FuzzScratch.h"

#include "Classes/StartContent.h"
#include "Classes/StartViewController.h"
#include "Platform/Browser.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/Driver.h"
#include "Platform/ImageView.h"
#include "Platform/Paths.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz_start_content: %s\n", what.c_str());
    std::abort();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<ui::Button*> titleButtons(const StartViewController& start) {
    std::vector<ui::Button*> buttons;
    for (const auto& view : start.startView->subviews())
        if (auto* button = dynamic_cast<ui::Button*>(view.get()))
            buttons.push_back(button);
    return buttons;
}

void pressEveryTitle(StartViewController& start) {
    ui::Driver driver;
    for (ui::Button* button : titleButtons(start)) {
        const ui::Rect& bounds = button->bounds();
        driver.tap(button->convertTo(ui::Point{bounds.midX(), bounds.midY()}, nullptr));
        (void)driver.press(button->currentTitle());
    }
}

void checkOpenedAddresses() {
    for (const std::string& url : ui::Application::shared().openedURLs())
        if (!ui::isOpenableURL(url))
            fail("the browser was handed \"" + url + "\"");
}

void checkAddress(std::size_t line) {
    auto address = StartViewController::contentAddress(line);
    if (address && (address->empty() || address->find('\n') != std::string::npos))
        fail("the address on line " + std::to_string(line) + " is empty or more than one line");
}

void showStartScreen(const std::string& titles, bool cached) {
    const std::filesystem::path& scratch = fuzz::scratchFolder();
    writeFile(scratch / "bundle" / "TitlesAndUrls.txt", titles);
    std::filesystem::path cachedCopy = StartContent::cachePath(StartContent::titlesFileName);
    if (cached)
        writeFile(cachedCopy, titles);
    else
        std::filesystem::remove(cachedCopy);

    auto start = std::make_shared<StartViewController>();
    ui::Application::shared().window()->addSubview(start->view());
    start->viewLoading();
    // Titles stand 30 points apart from y = 240 down to the bottom of the 480-point screen.
    std::size_t lines = static_cast<std::size_t>(std::count(titles.begin(), titles.end(), '\n')) + 1;
    if (titleButtons(*start).size() != std::min<std::size_t>(lines, 8))
        fail("the screen does not show one title per line down to its bottom");
    pressEveryTitle(*start);
    checkOpenedAddresses();
    start->view()->removeFromSuperview();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::filesystem::path& scratch = fuzz::scratchFolder();
    std::filesystem::create_directories(scratch / "bundle");
    ui::Paths::setHome((scratch / "home").string());
    // The bundle has no start picture and most addresses are refused: the screen's complaints about
    // them would fill the log on every input.
    std::cerr.setstate(std::ios::failbit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    bool cached = input.ConsumeBool();
    std::string titles = input.ConsumeRandomLengthString();
    std::string addressFile = input.ConsumeRemainingBytesAsString();

    ui::Driver::resetToolkit();
    ui::Bundle::main().setResourcePath((fuzz::scratchFolder() / "bundle").string());
    writeFile(fuzz::scratchFolder() / "bundle" / "url.txt", addressFile);
    checkAddress(0);
    checkAddress(1);

    showStartScreen(titles, cached);
    ui::Driver::resetToolkit();
    return 0;
}
