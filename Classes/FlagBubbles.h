#pragma once
// The numbered flags on the picture and the bubble a pressed flag opens. The part owns the flags of
// the view on screen with the points they stand for, the bubble (its picture, its two name lines and
// its info button), which flag's bubble is open and which one waits to open, and the name a quiz
// verdict took from the bubble. Flags live as subviews of the displayed picture, so they move with it
// when it is panned or magnified; the bubble lives on the viewer's view. While a quiz question is on
// screen a flag's press is the answer (`Quiz::answer`).

#include "Platform/Geometry.h"
#include "Platform/Image.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Classes/Lifetime.h"

class Quiz;
class TreeNode;
namespace ui {
class Button;
class ImageView;
class Label;
class View;
} // namespace ui

class FlagBubbles {
public:
    using ButtonPtr = std::shared_ptr<ui::Button>;
    using NodeList = std::vector<std::unique_ptr<TreeNode>>;

    struct Hooks {
        // The rings stop pulsing.
        std::function<void()> quietRings;
        // Closes the information panels.
        std::function<void()> hideInfo;
        // Closes the index, the views chooser and the help.
        std::function<void()> closeOtherPanels;
        // The node of the view on screen (its "points" raise the flags), or null.
        std::function<const TreeNode*()> currentView;
        // The atlas's information entries (its last child lists the points' names and descriptions).
        std::function<const TreeNode*()> allInfo;
        // A point's "x" and "y", read as numbers (design space).
        std::function<ui::Point(const TreeNode& point)> designPlace;
        std::function<ui::ImageView*()> displayedImage;
        std::function<bool()> isMagnified;
        // The flags button's pressed look.
        std::function<void(bool pressed)> showButtonPressed;
        std::function<void(bool shown)> showMagnifier;
        // Shows the scalpel when it carries a region ("- L"), or hides it.
        std::function<void(bool shown)> showScalpel;
        // The image-button factory: a flag titled with its number, the bubble's info button titled with
        // the description it opens.
        std::function<ButtonPtr(const std::string& title, float x, float y)> makeFlag;
        std::function<ButtonPtr(const std::string& description, float x, float y)> makeInfoButton;
        // The viewer takes touches again.
        std::function<void()> enableTouches;
        std::function<Quiz&()> quiz;
    };

    explicit FlagBubbles(Hooks hooks);
    ~FlagBubbles();

    // Loading: the bubble joins `host` (the viewer's view) when it opens.
    void addTo(ui::View& host);

    // ---- Flags
    // The flags button's action: the flags of the view on screen come up, or go when they are up.
    void displayFlags();
    void hideFlags();
    // Makes the flags of the view's "points" (hidden until `displayFlags`).
    void forFlags(const NodeList& viewElements);
    int createFlagWithNum(int n, float x, float y);
    // In magnification the picture moves so that the waiting flag comes to the screen's middle, then its
    // bubble opens.
    void moveToFlag();
    // The region or view changes: the flags and the waiting bubble go for good.
    void removeFlags();
    // The flags go as `hideFlags` takes them, without closing the information panels.
    void putFlagsAway();
    // The magnification's animation: half the picture's doubling is undone on the flags.
    void magnifyFlags(bool magnified);
    // Entering magnification: the open bubble waits to open again at its flag's new place.
    void keepBubbleThroughMagnification();
    // A journey arrived at `point`: its flags come up and the point's bubble opens half a second later.
    void openBubbleOfPoint(const TreeNode& point, const NodeList& viewElements);

    // ---- The bubble
    // A flag's action: its bubble opens (during a question, with the verdict).
    void displayHint(ui::Button* sender);
    // A point's English name (0), Latin name (1) or description (2) by its information id; "null"
    // without one.
    std::string getInfoOfPoint(const std::string& infoId, int titleOrDesc) const;
    void createBubbleOfFlag(const std::string& title, const std::string& latin, const std::string& descriptin,
                            float x, float y);
    static ui::Image createBubbleWithWidth(int width);
    void waitAndDisplayHint();
    void displayHintFromindex();
    // The flag whose bubble opens once the flags come up or the magnified picture moves to it (-1: none).
    void setWaitingBubble(int flag) { wviewHint_ = flag; }
    static bool ifPoint(ui::Point point, const ui::Rect& rect);
    static double widestBubble(bool withInfoButton);
    void keepBubbleOnScreen(bool withInfoButton);
    // A flag's bubble is shown: `viewHint`, taken as unsigned, indexes the flags (so -1 never counts).
    bool isBubbleShown() const;
    // The picture of the bubble on screen, or null when none is shown.
    ui::View* shownBubble() const;
    // A quiz verdict took the bubble's title line: the structure's name comes back.
    void restoreBubbleTitle();
    void bringBubbleNamesToFront();
    // The bubble fades (inside the caller's animation).
    void fadeBubble();

    const std::vector<ButtonPtr>& flags() const { return flags_; }
    const std::vector<TreeNode*>& nodesOfFlags() const { return nodesOfFlags_; }
    ui::Label* labelForFlag() const { return labelForFlag_.get(); }
    ui::Label* labelForFlagLatin() const { return labelForFlagLatin_.get(); }
    ui::ImageView* hintOfFlag() const { return hintOfFlag_.get(); }
    ui::Button* infoButtonOfHint() const { return infoButtonOfHint_.get(); }
    bool flagsIsHidden() const { return flagsIsHidden_; }
    int viewHint() const { return viewHint_; }
    int wviewHint() const { return wviewHint_; }

private:
    void checkAnswer(const std::string& title, const std::string& latin, const std::string& description,
                     float ax, float ay);
    void makeBubbleParts();
    void after(double seconds, void (FlagBubbles::*step)());

    Hooks hooks_;
    ui::View* host_ = nullptr;
    std::vector<ButtonPtr> flags_;
    std::vector<TreeNode*> nodesOfFlags_;
    std::shared_ptr<ui::Label> labelForFlag_, labelForFlagLatin_;
    std::shared_ptr<ui::ImageView> hintOfFlag_;
    ButtonPtr infoButtonOfHint_;
    std::string tempName_;
    bool tempNameSet_ = false; // `tempName_` holds a name (it is "nil" otherwise)
    bool flagsIsHidden_ = true;
    int viewHint_ = -1; // the flag whose bubble was opened last
    int wviewHint_ = 0; // the flag whose bubble waits to open (-1: none)
    Lifetime lifetime_;
};
