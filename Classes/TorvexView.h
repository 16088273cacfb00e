#pragma once
// The anatomy viewer: the controller that owns the content trees, the two picture views, and the
// parts (bar, views chooser, rings, flags and bubble, help, information, index and quiz panels, the
// journey), which it wires together through their hooks. Its methods are spread over one source file
// per job (TorvexViewLoading.cpp, TorvexViewNavigation.cpp, ...), all sharing this header.
//
// Its private fields are the state the viewer's own jobs share (the region and view on screen, the
// magnification ...); each part keeps its own privately. Each viewer starts from their initial
// values, which keeps tests independent of each other.
//
// Everything runs on the run loop's thread. A multi-step journey is the queue of steps of `Journey`,
// which the run loop's timers drive; while a step runs, user interaction on the viewer's view is off,
// and `endChangeLevel` switches it back on only when no journey is pending.

#include "Classes/Bar.h"
#include "Classes/FlagBubbles.h"
#include "Classes/HelpPanel.h"
#include "Classes/HotSpots.h"
#include "Classes/IndexPanel.h"
#include "Classes/InfoPanel.h"
#include "Classes/Journey.h"
#include "Classes/Quiz.h"
#include "Classes/TorvexContent.h"
#include "Classes/TreeNode.h"
#include "Classes/ViewRing.h"
#include "Classes/ViewsChooser.h"
#include "Platform/Geometry.h"
#include "Platform/Image.h"
#include "Platform/Timer.h"
#include "Platform/ViewController.h"

#include <functional>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ui {
class Button;
class ImageView;
class Label;
class ScrollView;
class Switch;
class AlertView;
} // namespace ui

class ForInfo;
class IndexViewController;

using NodeList = std::vector<std::unique_ptr<TreeNode>>;

class TorvexView : public ui::ViewController {
public:
    using ButtonPtr = std::shared_ptr<ui::Button>;
    using LabelPtr = std::shared_ptr<ui::Label>;
    using ImageViewPtr = std::shared_ptr<ui::ImageView>;
    using PanelPtr = std::shared_ptr<ForInfo>;

    // The picture types a bar button, a ring, a flag, a view thumbnail and a bubble's info button are made
    // as.
    enum ButtonType { BarButton = -1, HotSpotButton = 0, FlagButton = 1, ViewButton = 2, InfoHintButton = 3 };

    TorvexView();
    ~TorvexView() override;

    // ---- Construction and loading
    void loadView() override;
    // Builds everything, enters the top region in "Anterior", then calls `callback` (when set).
    void startloadingWithCallBackTarget(std::function<void(TorvexView*)> callback);
    void parseXMLFileAtFile(const std::string& fileName);

    // ---- Navigation
    // The sub-region titled as `sender` is entered (a ring, a title button); without one, `refresh`.
    void enterToPart(ui::Button* sender);
    // Turns from the view on screen to the view `name` of the current region.
    void showView(const std::string& name);
    // Enters `region`, a sub-region of its parent, with the entering transition, as its button would.
    void enterRegion(const TreeNode& region);
    // Shows `region` in the view `name` at once: no turn, no transition, as if it had been there.
    void showRegion(TreeNode& region, const std::string& name);
    // Shows the current region again in `viewTorvex`, carrying out the turn from `oldViewTorvex` when
    // the two differ (the start, or a view change that the chooser or a plan has set up).
    void refresh();
    // The ring of the current region's views around the view on screen.
    ViewRing viewRing() const;
    // The journey under way (if any) and the view changes still to come.
    const Journey& journey() const { return journey_; }
    // The current region's plain views (no "realheader"), name -> "src" in document order: what the
    // views chooser offers and the swipes turn to.
    using PlainViews = ViewsChooser::PlainViews;
    const PlainViews& imageViews() const { return imageViews_; }
    void back();
    // Climbs to the top region one level a second, then goes on with the journey's queue.
    void backToStart();
    // Travels to the structure named by `term`, one region per step, and opens its bubble.
    void goToPart(const std::string& term);
    // Shows `tempView` 1.25 s from now: the next step of a planned view change.
    void timerWaitAndGo();
    void waitSecond();
    bool checkIfNeededChangeView();
    // Going back from `region` shown in `view`, reached from `previousView`, needs a view change first.
    static bool checkIfNeededChangeView(const TreeNode* region, const std::string& view,
                                        const std::string& previousView);

    // ---- Display and transitions
    void updatePart(const NodeList& subRegions);
    void updateView(const NodeList& viewElements);
    ButtonPtr createButtonWithTitle(const std::string& title, float x, float y, float width, float height);
    void cleanButtons();
    void cleanView();
    void animationImage();
    void endChangeLevel();

    // ---- Views chooser: a thumbnail's action turns to its view.
    void changeView(ui::Button* sender);
    void changeViewAndEnter();

    // ---- Magnification
    void zoomOnOff();

    // ---- Image buttons
    ButtonPtr imageButton(const std::string& name, int type, float x, float y, const std::string& img);

    // ---- Touches
    void touchesBegan(const ui::TouchSet& touches) override;
    void touchesMoved(const ui::TouchSet& touches) override;
    void touchesEnded(const ui::TouchSet& touches) override;
    static float distanceBetweenTwoPoints(ui::Point a, ui::Point b);

    // ---- Rotation arrows
    void createArrow();
    void newArrayArrows(int n);
    void arrowAnimation();
    // Plans the turn from `from` to `to` and plays its first arrow, as a view change does before its
    // picture loads.
    void planViewChange(const std::string& from, const std::string& to);

    // ---- Parts
    HelpPanel& help() { return help_; }
    FlagBubbles& flagBubbles() { return flagBubbles_; }
    const FlagBubbles& flagBubbles() const { return flagBubbles_; }
    HotSpots& hotSpots() { return hotSpots_; }
    const HotSpots& hotSpots() const { return hotSpots_; }
    Quiz& quiz() { return quiz_; }
    IndexPanel& index() { return index_; }
    InfoPanel& infoPanel() { return info_; }
    const InfoPanel& infoPanel() const { return info_; }
    const IndexPanel& index() const { return index_; }
    const Quiz& quiz() const { return quiz_; }
    Bar& bar() { return bar_; }
    const Bar& bar() const { return bar_; }
    ViewsChooser& viewsChooser() { return views_; }
    const ViewsChooser& viewsChooser() const { return views_; }

    // ---- Index

    // The viewer's numbers, flags and strings for the automation `state` command, each under its own
    // name; `root` as its "header", `enterArray` as "key:header" or "key:infoid" entries.
    void describeState(nlohmann::ordered_json& state) const;

    // ---- What the controller shows, read-only
    const TorvexContent& content() const { return content_; }
    // The region on screen (`root`), the view it is shown in and the view before it.
    TreeNode* currentRegion() const { return root; }
    const std::string& currentView() const { return viewTorvex; }
    const std::string& previousView() const { return oldViewTorvex; }
    // The bundle folder of the picture on screen.
    const std::string& pictureFolder() const { return src; }
    // Where the region's "zoomout" setting puts the picture's centre when going back from it.
    ui::Point zoomOut() const { return zoom; }

    // ---- Helpers shared by the subsystems
    // The picture view on screen: `firstImage` unless its alpha is 0.
    ui::ImageView* displayedImage() const;
    ui::ImageView* hiddenImage() const;
    bool isMagnified() const;
    // The views of `region` (its first child's children) and its sub-regions (its last child's children).
    static const NodeList& viewsOf(const TreeNode* region);
    static const NodeList& subRegionsOf(const TreeNode* region);
    // The first view of the current region whose "header" equals `name`, or nullptr.
    TreeNode* currentViewNamed(const std::string& name) const;
    bool regionOffers(const std::string& name) const;
    // A panel is "on screen" while it has a superview.
    static bool isOnScreen(const ui::View* view);
    // Schedules a one-shot step of a journey on the run loop.
    void after(double seconds, void (TorvexView::*step)());
    // Wraps a callback (timer, animation end, button action) so that it does nothing once the viewer
    // is gone: timers and animations may outlive a viewer that tests create and destroy.
    template <class Callback> auto whileAlive(Callback callback) const {
        return [alive = std::weak_ptr<const int>(lifetime_), callback = std::move(callback)](auto&&... args) {
            if (!alive.expired())
                callback(std::forward<decltype(args)>(args)...);
        };
    }
    // The node `generations` steps up (1 = parent), or nullptr when the chain ends first.
    static TreeNode* ancestor(const TreeNode* node, int generations);
    // The tree's shape above the top region decides both: its third ancestor is the document root,
    // which has no key, and it has no fourth ancestor.
    static bool isTopRegion(const TreeNode* region);
    static bool hasParentRegion(const TreeNode* region);
    // The first view of `region` whose "header" equals `name`, or nullptr.
    static TreeNode* viewNamed(const TreeNode* region, std::string_view name);
    static const NodeList& childrenOf(const TreeNode* node);
    // An attribute read as a number by its leading decimal number (0 without one).
    static float number(const TreeNode& node, std::string_view attribute);

private:
    // =========================================================================================
    // State record of the controller's own jobs (the parts keep theirs). Fields keep their names; the
    // ones that start capitalised do so on purpose.
    // =========================================================================================
    TorvexContent content_;
    TreeNode*& root = content_.root;
    TreeNode* allInfo = nullptr;
    TermDictionary& indexDictionary = content_.indexDictionary;
    std::function<void(TorvexView*)> callbackFinish;

    ImageViewPtr firstImage, secondImage;
    std::string src;
    ui::Point center;
    ui::Point zoom;
    ImageViewPtr arrow;
    ButtonPtr scalpel;
    bool zoomOn = false;
    std::string viewTorvex = "Anterior";
    std::string oldViewTorvex;
    std::string Vparam;
    float scale = 0, scaleback = 0;

    // The automation `state`'s readers of the fields above (TorvexViewState.cpp).
    struct StateFields;
    // ---- Loading
    void createControls();
    void registerStateProviders();

    // ---- Navigation
    // Enters the sub-region titled `subRegion`, or without one shows the current region again;
    // `aliasesFollowed` counts the "realheader" aliases followed on the way to the view shown.
    void show(const std::optional<std::string>& subRegion, int aliasesFollowed);
    // Records a plain view (no "realheader") in `imageViews`; a repeated name keeps its first place.
    void storePlainView(const TreeNode& view);
    Journey::Actions journeyActions();
    // The journey's last step: the flags of the view on screen come up and the point's bubble opens.
    void openBubbleOfPoint(TreeNode& point);
    Journey journey_{journeyActions()};
    // How deep `arrowAnimation` has recursed through intermediate views of the plan under way.
    int planningDepth_ = 0;
    // The parts, each made with the hooks that wire it to the rest (TorvexViewLoading.cpp).
    HotSpots::Hooks hotSpotsHooks();
    HotSpots hotSpots_{hotSpotsHooks()};
    FlagBubbles::Hooks flagBubblesHooks();
    FlagBubbles flagBubbles_{flagBubblesHooks()};
    HelpPanel::Hooks helpHooks();
    HelpPanel help_{helpHooks()};
    Quiz::Hooks quizHooks();
    Quiz quiz_{quizHooks()};
    IndexPanel::Hooks indexHooks();
    IndexPanel index_{indexHooks()};
    InfoPanel::Hooks infoHooks();
    InfoPanel info_{infoHooks()};
    Bar::Hooks barHooks();
    Bar bar_{barHooks()};
    ViewsChooser::Hooks viewsHooks();
    ViewsChooser views_{viewsHooks()};
    PlainViews imageViews_;
    // The base views that compound view names are reached through, in the order they are tried.
    std::vector<std::string> ofViews;
    // Where the picture entering or leaving is centred when its transition starts.
    float xx = 0, yy = 0;
    // The touch in progress: where it began, the offset of a dragged picture or panel from the finger
    // ((0, 0) between gestures), and the places of a two-finger start.
    ui::Point touchBegan, delta, touch1, touch2;

    // ---- Display
    // Loads the picture of `view` into the hidden picture view and keeps its folder in `src`.
    void loadPictureOfView(const TreeNode& view);
    void runEnteringTransition();
    void runLeavingTransition(const TreeNode& view, ui::Point zoomLeft, float scaleLeft);
    static std::string plainText(std::string markedText);

    // ---- Image buttons
    ui::Image thumbnailOfView(const std::string& viewName) const;

    std::shared_ptr<const int> lifetime_ = std::make_shared<const int>(0);
};
