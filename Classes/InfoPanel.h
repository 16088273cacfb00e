#pragma once
// The information panels: the region panel, which slides up from below the screen with the current
// region's description, and the detail panel, which fades in next to a flag's bubble with the
// structure's description. The part owns both panels, the region's text and whether the detail panel
// was opened; the bubble and the flags stay the viewer's, reached through hooks.

#include <functional>
#include <memory>
#include <string>

#include "Platform/Geometry.h"

class ForInfo;
namespace ui {
class Button;
class View;
} // namespace ui

class InfoPanel {
public:
    struct Hooks {
        // The rings stop pulsing.
        std::function<void()> quietRings;
        // Closes the views chooser, the index and the help.
        std::function<void()> closeOtherPanels;
        // The flags go as `hideFlags` takes them (which would close the region panel again), so that
        // the next press of the flags button shows them; the magnifier goes too.
        std::function<void()> putFlagsAway;
        // Shows or hides the title buttons of the sub-regions.
        std::function<void(bool shown)> showRegionButtons;
        std::function<void(bool pressed)> showButtonPressed;
        // The picture of the flag's bubble on screen, or null when none is shown.
        std::function<ui::View*()> shownBubble;
        // A quiz verdict took the bubble's title line: the structure's name comes back.
        std::function<void()> restoreBubbleTitle;
        // The bubble's names in front of everything.
        std::function<void()> bringBubbleNamesToFront;
        // The bubble fades away (called inside the closing animation).
        std::function<void()> fadeBubble;
    };

    explicit InfoPanel(Hooks hooks);
    ~InfoPanel();

    // Loading: the region panel, hidden, as the sixth view of `host` (the viewer's view), and the
    // detail panel, which joins `host` when it opens.
    void addTo(ui::View& host);
    // The current region's description, which the region panel shows.
    void setRegionText(std::string text) { info_ = std::move(text); }
    const std::string& info() const { return info_; }

    // The info button's action: the flags go and the region panel slides up, or down when it is up.
    void displayInfoClickOfButton();
    // The bubble's info button's action: the detail panel fades in with the button's title as its text.
    void displayInfo(ui::Button* sender);
    // Closes both panels and the bubble.
    void hideInfo();
    void changeRectInfo(const ui::Rect& rect);
    void changeRectInfoView(const ui::Rect& rect);

    // A touch fades the detail panel (inside the touch's fading animation).
    void fadeDetailPanel();
    bool isDetailPanelFullyShown() const;
    bool isRegionPanelShown() const;
    // The detail panel has been opened.
    bool flagInfo() const { return flagInfo_; }
    ui::View* regionPanel() const;
    ui::View* detailPanel() const;

private:
    void openRegionInfo();
    void closeRegionInfo();

    Hooks hooks_;
    ui::View* host_ = nullptr;
    std::shared_ptr<ForInfo> Info, forInfo; // the region panel and the detail panel
    std::string info_;
    bool flagInfo_ = false;
};
