// The two help pages: a short one near the top of the atlas and a long one, with the information button
// and the flags, deeper down. Each is a fixed text with bold headings laid over it and small button
// pictures placed in the gaps that runs of spaces leave in the text.
#include "TorvexView.h"

#include "ForInfo.h"
#include "Platform/Animation.h"
#include "Platform/Bundle.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"

#include <vector>

namespace {

struct Heading {
    const char* text;
    ui::Rect frame;
};

struct Picture {
    const char* name;
    ui::Point center;
    float scale;
};

struct HelpPage {
    ui::Rect frame;
    std::vector<Heading> headings;
    std::vector<Picture> pictures;
};

const HelpPage& shortPage() {
    static const HelpPage page{{10, 190, 310, 260},
                               {{"To Zoom In: ", {8, 5, 100, 14}},
                                {"To Rotate 3D Image: ", {8, 100, 160, 14}},
                                {"The View Button: ", {8, 196, 160, 14}}},
                               {{"Buttons/views.png", {64, 220}, 0.75f}}};
    return page;
}

const HelpPage& longPage() {
    static const HelpPage page{{10, 30, 310, 420},
                               {{"To Zoom In: ", {8, 5, 100, 14}},
                                {"To Rotate 3D Image: ", {8, 100, 160, 14}},
                                {"The View Button: ", {8, 196, 160, 14}},
                                {"The Information Button: ", {8, 244, 200, 14}},
                                {"The Flag Icon: ", {8, 310, 160, 14}}},
                               {{"Buttons/views.png", {64, 220}, 0.75f},
                                {"infoButton.png", {208, 377}, 0.5f},
                                {"flag.png", {50, 350}, 0.5f},
                                {"Buttons/info.png", {59, 283}, 0.75f}}};
    return page;
}

// The headings and pictures were placed against the text as the phone's text view set it: lines 16
// points apart (TextView sets them so), scrolled by the offset that the panel's layout gives its text
// view (its bounds are its frame). The phone kept that offset although the text fits; our text view
// lets it go whenever it measures, so the page puts it back last.
void fillHelpPage(ForInfo& panel, const HelpPage& page, const std::string& text) {
    panel.drawRect(page.frame);
    panel.setFrame(page.frame);
    auto& textView = *panel.textViewForInfo();
    textView.setText(text);
    ui::Rect area = textView.frame();
    textView.setFrame(ui::Rect(area.x(), area.y() + 10, area.width(), area.height() - 5));
    textView.setContentOffset(area.origin);
    for (const auto& heading : page.headings) {
        auto label = ui::make<ui::Label>(heading.frame);
        label->setText(heading.text);
        label->setBackgroundColor(ui::Color::clear());
        label->setTextColor(ui::Color::white());
        label->setFont(ui::Font::boldSystem(14));
        panel.addSubview(label);
    }
    for (const auto& picture : page.pictures) {
        auto image = ui::make<ui::ImageView>(ui::Bundle::main().image(picture.name));
        image->setCenter(picture.center);
        image->setTransform(ui::AffineTransform::scale(picture.scale, picture.scale));
        panel.addSubview(image);
    }
}

} // namespace

void TorvexView::createHelpView() {
    fillHelpPage(*helpView1, shortPage(), textForHelp1);
    fillHelpPage(*helpView2, longPage(), textForHelp2);
    helpView1->setAlpha(0);
    helpView2->setAlpha(0);
}

// Six steps up from a region three levels down is the top region; the tree above the top region
// holds three more nodes, so two levels down already reaches the data file's top element.
void TorvexView::displayHelp() {
    hideViews();
    hideInfo();
    hideIndex();
    if (helpView1->alpha() == 1 || helpView2->alpha() == 1) {
        hideHelp();
        return;
    }
    changeImageOnButton(helpButton.get(), true);
    if (!loadHelp)
        createHelpView();
    const TreeNode* sixUp = ancestor(root, 6);
    const auto& page = sixUp && !sixUp->key.empty() ? helpView2 : helpView1;
    page->removeFromSuperview();
    view()->addSubview(page);
    ui::Animation::begin(0.8);
    page->setAlpha(1);
    ui::Animation::commit();
    loadHelp = true;
}

void TorvexView::hideHelp() {
    if (!helpView1 || !helpView2 || (helpView1->alpha() == 0 && helpView2->alpha() == 0))
        return;
    ui::Animation::begin(0.75);
    helpView1->setAlpha(0);
    helpView2->setAlpha(0);
    ui::Animation::commit();
    changeImageOnButton(helpButton.get(), false);
}
