#pragma once
// Views: rectangles in a tree, drawn back to front, that receive touches.
//
// Geometry follows UIKit. A view has a `center` in its superview's coordinates, `bounds` (its own
// coordinate system: the origin is what shows at the top-left corner, which is how a scroll view
// scrolls) and a `transform` applied about the centre. `frame` is derived: the box around the
// transformed bounds in the superview. Setting the frame of an untransformed view sets centre and size;
// with a transform it keeps the transform and size and moves the centre.
//
// Properties read back the model value. Set inside an animation block (Animation.h), alpha, centre,
// bounds, frame and transform change at once in the model while the screen shows them moving; the
// `presentation...` accessors say what the screen shows now.
//
// A superview owns its subviews; create views with `ui::make<View>(frame)` and keep a ViewPtr in a
// field where the program needs the view later. Removing a view from its superview cancels its
// animations and those of its subviews.

#include "Platform/Font.h"
#include "Platform/Geometry.h"
#include "Platform/PropertyAnimation.h"
#include "Platform/Responder.h"

#include <cairo.h>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class View;
class ViewController;
using ViewPtr = std::shared_ptr<View>;

template <class T, class... Args> std::shared_ptr<T> make(Args&&... args) {
    return std::make_shared<T>(std::forward<Args>(args)...);
}

// What the renderer hands a view that draws itself.
struct DrawContext {
    cairo_t* cr = nullptr;
    // Multiply into every paint: the view's alpha when the renderer did not composite it as a group.
    Float opacity = 1;
    // Something on screen is animating: favour speed over quality when scaling pictures.
    bool moving = false;
};

// What a dump of the tree shows of a view beyond its geometry ("" when it has none of them).
struct ViewDescription {
    std::string title; // a button's current title
    std::string text;  // a label's, text view's or text field's text
    std::string image; // the file name of the picture shown
};

class View : public Responder, public std::enable_shared_from_this<View> {
public:
    View() = default;
    explicit View(const Rect& frame);
    ~View() override;

    // Geometry, model values.
    Rect frame() const;
    void setFrame(const Rect& frame);
    const Rect& bounds() const { return bounds_; }
    void setBounds(const Rect& bounds);
    Point center() const { return center_; }
    void setCenter(Point center);
    const AffineTransform& transform() const { return transform_; }
    void setTransform(const AffineTransform& transform);

    Float alpha() const { return alpha_; }
    void setAlpha(Float alpha);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    const Color& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const Color& color);
    bool isUserInteractionEnabled() const { return userInteraction_; }
    void setUserInteractionEnabled(bool enabled) { userInteraction_ = enabled; }
    // Subviews and content are cut off at the bounds (scroll views and text views clip).
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // The name under which scripts and tests find the view (the field that holds it).
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }

    // The tree. Subviews are ordered back to front.
    View* superview() const { return superview_; }
    const std::vector<ViewPtr>& subviews() const { return subviews_; }
    // Adds `view` in front of the others; a view of another superview moves here first, and a view that
    // is already a subview comes to the front. Adding a view to itself or to its own subtree does nothing.
    void addSubview(ViewPtr view);
    // Puts `view` at `index` of the subviews (clamped to their number), counted after taking it out.
    void insertSubview(ViewPtr view, std::size_t index);
    // Does nothing when the view has no superview.
    void removeFromSuperview();
    void bringSubviewToFront(const View* view);
    bool isDescendantOf(const View* ancestor) const;
    // The first view of this subtree (this one included), depth first, with that identifier or tag.
    View* findView(const std::string& identifier);
    View* viewWithTag(int tag);

    // Coordinates. A null view means the window: the root of this view's tree.
    Point convertTo(Point point, const View* view) const;
    Point convertFrom(Point point, const View* view) const;
    Rect convertTo(const Rect& rect, const View* view) const;
    // Maps bounds coordinates to the superview's, and to the root's (model values).
    AffineTransform transformToSuperview() const;
    AffineTransform transformToRoot() const;

    // The deepest visible, touchable view under `point` (bounds coordinates), front to back; null when
    // this view is hidden, has alpha 0.01 or less, does not take touches or the point is outside it.
    virtual View* hitTest(Point point);
    virtual bool pointInside(Point point) const;
    // Hit testing reads the model values (alpha, placement) as the phone does, so a view fading out
    // takes no touches from the start of the fade. A view that is pressable while it visibly fades
    // (a pulsing ring) asks for what the screen shows instead.
    enum class HitTesting { Model, Presentation };
    void setHitTesting(HitTesting mode) { hitTesting_ = mode; }
    // The alpha and the placement in the superview that hit testing reads.
    Float touchAlpha() const;
    AffineTransform touchTransformToSuperview() const;

    // What the screen shows now (the model values when nothing animates).
    Float presentationAlpha() const;
    Point presentationCenter() const;
    Rect presentationBounds() const;
    AffineTransform presentationTransform() const;
    AffineTransform presentationTransformToSuperview() const;
    bool hasRunningAnimations() const;
    // Stops every animation of this view at once: the screen jumps to the model values.
    void removeAllAnimations();
    // A running flip of this view, for the renderer.
    const TransitionAnimation* runningTransition() const;

    // Draws the view's own content in bounds coordinates, over its background colour and under the
    // subviews. It is drawn once into a cached layer (LayerCache.h) and again only after setNeedsDisplay,
    // so it depends on the view's own state alone, never on the clock or on what is animating; what
    // `opacity` says is applied when the layer is composited. The default draws nothing.
    virtual void draw(const DrawContext&) {}
    // Draws over the subviews (a scroll indicator). Drawn afresh for every frame, so it may follow the
    // scrolling; asked for only when layerCount() is above 0.
    virtual void drawOverlay(const DrawContext&) {}
    // How many separate layers `draw` and `drawOverlay` paint (0 for the default, which paints
    // nothing). Snapshots pass the view's alpha as `opacity` to a view with at most one layer in all
    // instead of drawing it as a group.
    virtual int layerCount() const { return 0; }
    // Says that what `draw` paints has changed (text, picture, size, pressed state ...): the view's
    // cached layer is drawn again for the next frame. Property setters call it themselves; placement,
    // alpha and visibility only composite the layers again.
    void setNeedsDisplay();
    // Grows whenever setNeedsDisplay is called: the cached layer of an older version is stale.
    std::uint64_t contentVersion() const { return contentVersion_; }
    // Grows whenever something visible changes anywhere.
    static std::uint64_t displayGeneration();

    // For dumps of the tree.
    virtual std::string className() const { return "View"; }
    virtual void describe(ViewDescription&) const {}

    // The view controller whose view this is, else the superview.
    Responder* nextResponder() const override;
    ViewController* viewController() const { return controller_; }

protected:
    // The bounds changed size (a frame or bounds change); subclasses lay out or re-measure here.
    virtual void boundsSizeDidChange() {}

private:
    friend class ViewController;
    friend class Animation;

    // Records an animation of `property` from what the screen shows now, when a block is open.
    void animateChange(AnimatedProperty property, AnimatedValue presentedBefore);
    void startTransition(TransitionAnimation transition);
    void cancelAnimationsInSubtree();
    void resignFirstResponderInSubtree();
    const PropertyAnimation* runningAnimation(AnimatedProperty property) const;
    void detachFromSuperview();
    // Something about where or how the content shows changed, not the content itself.
    void setNeedsComposite();

    Point center_;
    Rect bounds_;
    AffineTransform transform_;
    Float alpha_ = 1;
    HitTesting hitTesting_ = HitTesting::Model;
    bool hidden_ = false;
    Color backgroundColor_ = Color::clear();
    bool userInteraction_ = true;
    bool clipsToBounds_ = false;
    int tag_ = 0;
    std::string identifier_;
    std::uint64_t contentVersion_ = 0;

    View* superview_ = nullptr;
    std::vector<ViewPtr> subviews_;
    ViewController* controller_ = nullptr;

    std::vector<PropertyAnimation> animations_;
    std::optional<TransitionAnimation> transition_;
};

} // namespace ui
