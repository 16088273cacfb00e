#pragma once
// The help screen: a short page near the top of the atlas and a long one, with the information button
// and the flags, deeper down. Each is a fixed text with bold headings laid over it and small button
// pictures placed in the gaps that runs of spaces leave in the text.
//
// The part owns both pages and whether they have been filled; the viewer hands it the view they live
// in and hooks for what lies outside it (the other panels, the help button's look, the region shown).

#include <functional>
#include <memory>
#include <string>

class ForInfo;
class TreeNode;
namespace ui {
class View;
} // namespace ui

class HelpPanel {
public:
    struct Hooks {
        // Closes the views chooser, the information panel and the index before a page shows.
        std::function<void()> closeOtherPanels;
        // Shows the help button pressed or not.
        std::function<void(bool pressed)> showButtonPressed;
        // The region on screen, which decides the page.
        std::function<const TreeNode*()> currentRegion;
    };

    explicit HelpPanel(Hooks hooks);
    ~HelpPanel();

    // Makes both pages, empty and hidden, and adds them to `host` (the viewer's view), which they are
    // brought to the front of when shown.
    void addTo(ui::View& host);

    // Fills both pages; `displayHelp` does it the first time.
    void createHelpView();
    // The help button's action: the page that fits the region fades in, or help closes when a page is
    // fully shown (the alpha set last counts, so a second press closes a page still fading in).
    void displayHelp();
    void hideHelp();
    // A page is shown at full alpha.
    bool isShown() const;

    // The pages' texts; runs of spaces leave room for the pictures laid over them.
    static const std::string textForHelp1, textForHelp2;

private:
    Hooks hooks_;
    ui::View* host_ = nullptr;
    std::shared_ptr<ForInfo> helpView1, helpView2; // the short and the long page
    bool loadHelp = false;                         // the pages have been filled
};
