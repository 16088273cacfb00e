#include "HelpPanel.h"

#include "ForInfo.h"
#include "Platform/Animation.h"
#include "Platform/Bundle.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "TreeNode.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Heading {
    const char* text;
    ui::Rect frame;
};

// A picture stands on the first `stretch` of the text that follows `before`: a run of spaces, or a
// word padded with spaces to the width of the button picture that shows it.
struct Picture {
    const char* name;
    const char* before;
    const char* stretch;
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
                               {{"Buttons/views.png", "Press", "            ", 0.75f}}};
    return page;
}

const HelpPage& longPage() {
    static const HelpPage page{{10, 30, 310, 420},
                               {{"To Zoom In: ", {8, 5, 100, 14}},
                                {"To Rotate 3D Image: ", {8, 100, 160, 14}},
                                {"The View Button: ", {8, 196, 160, 14}},
                                {"The Information Button: ", {8, 244, 200, 14}},
                                {"The Flag Icon: ", {8, 310, 160, 14}}},
                               {{"Buttons/views.png", "Press ", "Views  ", 0.75f},
                                {"infoButton.png", "\u201D", "     ", 0.5f},
                                {"flag.png", "Press", "     ", 0.5f},
                                {"Buttons/info.png", "Press ", "Info   ", 0.75f}}};
    return page;
}

void placeInGap(ui::ImageView& image, const Picture& picture, const ui::TextView& textView, ForInfo& panel);

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
        placeInGap(*image, picture, textView, panel);
        panel.addSubview(image);
    }
}

// Measured on the text as the text view lays it out and shows it (scrolled): the picture is centred in
// the room between the letters around its stretch, and made smaller than its scale when it would reach
// them. A word's picture so covers the whole word it shows.
void placeInGap(ui::ImageView& image, const Picture& picture, const ui::TextView& textView, ForInfo& panel) {
    const std::string& text = textView.text();
    std::string before(picture.before), stretch(picture.stretch);
    std::size_t found = text.find(before + stretch);
    if (found == std::string::npos)
        return;
    std::size_t begin = found + before.size(), end = begin + stretch.size();
    // The stretch with the spaces on either side of it.
    std::size_t roomBegin = text.find_last_not_of(' ', begin - 1) + 1;
    std::size_t roomEnd = std::min(text.find_first_not_of(' ', end), text.size());
    auto onPanel = [&](std::size_t from, std::size_t to) {
        return textView.convertTo(textView.rectOfTextRange(from, to), &panel);
    };
    ui::Rect room = onPanel(roomBegin, roomEnd);
    ui::Float width = image.bounds().width();
    ui::Float scale =
        width > 0 ? std::min<ui::Float>(picture.scale, (room.width() - 1) / width) : picture.scale;
    image.setCenter(room.center());
    image.setTransform(ui::AffineTransform::scale(scale, scale));
}

} // namespace

const std::string HelpPanel::textForHelp1 =
    "Press on the 3D image to zoom in to a particular section or region.  Press outside the 3D image on "
    "screen to see the zoom areas indicated by the red rings.  \n\n\n"
    "Drag your fingers across the screen to rotate the 3D image.  Press outside the 3D image to see the "
    "rotation options indicated by blue arrows. To rotate, pull an arrow across the screen. \n\n\n"
    "Press            for a number of different view options.";

const std::string HelpPanel::textForHelp2 =
    "Press on the 3D image to zoom in to a particular section or region.  Press outside the 3D image on "
    "screen to see the zoom areas indicated by the red rings.  \n\n\n"
    "Drag your fingers across the screen to rotate the 3D image.  Press outside the 3D image to see the "
    "rotation options indicated by blue arrows. To rotate, pull an arrow across the screen. \n\n\n"
    "Press Views  for a number of different view options. \n\n\n"
    "Press Info   to access a scrollable window with topic information. \n\n\n"
    "Press     on the menu bar to view identification flags on the 3D image.  Press on these flags to "
    "access labels.   If there is an  \u201Ci\u201D     icon, press to access additional information.";

HelpPanel::HelpPanel(Hooks hooks) : hooks_(std::move(hooks)) {}

HelpPanel::~HelpPanel() = default;

void HelpPanel::addTo(ui::View& host) {
    host_ = &host;
    for (auto [page, name] : {std::pair{&helpView1, "helpView1"}, std::pair{&helpView2, "helpView2"}}) {
        *page = ui::make<ForInfo>(ui::Rect(15, 29, 300, 428));
        (*page)->setIdentifier(name);
        (*page)->textViewForInfo()->setText(textForHelp1);
        (*page)->setAlpha(0);
        host.addSubview(*page);
    }
}

void HelpPanel::createHelpView() {
    fillHelpPage(*helpView1, shortPage(), textForHelp1);
    fillHelpPage(*helpView2, longPage(), textForHelp2);
    helpView1->setAlpha(0);
    helpView2->setAlpha(0);
}

// Six steps up from a region three levels down is the top region; the tree above the top region
// holds three more nodes, so two levels down already reaches the data file's top element.
void HelpPanel::displayHelp() {
    if (hooks_.closeOtherPanels)
        hooks_.closeOtherPanels();
    if (isShown()) {
        hideHelp();
        return;
    }
    hooks_.showButtonPressed(true);
    if (!loadHelp)
        createHelpView();
    const TreeNode* sixUp = hooks_.currentRegion();
    for (int step = 0; step < 6 && sixUp; ++step)
        sixUp = sixUp->parent;
    const auto& page = sixUp && !sixUp->key.empty() ? helpView2 : helpView1;
    page->removeFromSuperview();
    host_->addSubview(page);
    ui::Animation::begin(0.8);
    page->setAlpha(1);
    ui::Animation::commit();
    loadHelp = true;
}

void HelpPanel::hideHelp() {
    if (!helpView1 || !helpView2 || (helpView1->alpha() == 0 && helpView2->alpha() == 0))
        return;
    ui::Animation::begin(0.75);
    helpView1->setAlpha(0);
    helpView2->setAlpha(0);
    ui::Animation::commit();
    hooks_.showButtonPressed(false);
}

bool HelpPanel::isShown() const {
    return (helpView1 && helpView1->alpha() == 1) || (helpView2 && helpView2->alpha() == 1);
}
