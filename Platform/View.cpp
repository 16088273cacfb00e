#include "Platform/View.h"

#include "Platform/Animation.h"
#include "Platform/LayerCache.h"
#include "Platform/RunLoop.h"
#include "Platform/ViewController.h"

#include <algorithm>

namespace ui {

namespace {

std::uint64_t generation = 0;

template <class T> T presented(const PropertyAnimation* animation, const T& model) {
    if (!animation)
        return model;
    return interpolate(std::get<T>(animation->from), model, animation->progress(RunLoop::main().now()));
}

// Bounds coordinates to superview coordinates for the given centre, bounds and transform.
AffineTransform placement(Point center, const Rect& bounds, const AffineTransform& transform) {
    return AffineTransform::translation(-bounds.midX(), -bounds.midY())
        .concat(transform)
        .concat(AffineTransform::translation(center.x, center.y));
}

} // namespace

View::View(const Rect& frame) {
    setFrame(frame);
}

View::~View() {
    LayerCache::shared().forget(this);
    for (auto& subview : subviews_)
        subview->superview_ = nullptr;
}

Rect View::frame() const {
    Rect local(-bounds_.width() / 2, -bounds_.height() / 2, bounds_.width(), bounds_.height());
    Rect box = transform_.apply(local);
    return {box.x() + center_.x, box.y() + center_.y, box.width(), box.height()};
}

void View::setFrame(const Rect& frame) {
    // Only what changes animates: moving a scroll view must not restart its scrolling.
    if (transform_.isIdentity() && frame.size != bounds_.size)
        setBounds({bounds_.origin, frame.size});
    if (frame.center() != center_)
        setCenter(frame.center());
}

void View::setBounds(const Rect& bounds) {
    if (bounds == bounds_ && !Animation::isOpen())
        return;
    bool resized = bounds.size != bounds_.size;
    animateChange(AnimatedProperty::Bounds, presentationBounds());
    bounds_ = bounds;
    // A new size is new content; a new origin (scrolling) only moves the content drawn already.
    if (resized)
        setNeedsDisplay();
    else
        setNeedsComposite();
    if (resized)
        boundsSizeDidChange();
}

void View::setCenter(Point center) {
    if (center == center_ && !Animation::isOpen())
        return;
    animateChange(AnimatedProperty::Center, presentationCenter());
    center_ = center;
    setNeedsComposite();
}

void View::setTransform(const AffineTransform& transform) {
    if (transform == transform_ && !Animation::isOpen())
        return;
    animateChange(AnimatedProperty::Transform, presentationTransform());
    transform_ = transform;
    setNeedsComposite();
}

void View::setAlpha(Float alpha) {
    if (alpha == alpha_ && !Animation::isOpen())
        return;
    animateChange(AnimatedProperty::Alpha, presentationAlpha());
    alpha_ = alpha;
    setNeedsComposite();
}

void View::setHidden(bool hidden) {
    if (hidden == hidden_)
        return;
    hidden_ = hidden;
    setNeedsComposite();
}

void View::setBackgroundColor(const Color& color) {
    if (color == backgroundColor_)
        return;
    backgroundColor_ = color;
    setNeedsComposite();
}

void View::setClipsToBounds(bool clips) {
    clipsToBounds_ = clips;
    setNeedsDisplay();
}

void View::addSubview(ViewPtr view) {
    if (!view || view.get() == this || isDescendantOf(view.get()))
        return;
    if (view->superview_ == this) {
        if (subviews_.back() != view)
            bringSubviewToFront(view.get());
        return;
    }
    view->removeFromSuperview();
    view->superview_ = this;
    subviews_.push_back(std::move(view));
    setNeedsComposite();
}

void View::insertSubview(ViewPtr view, std::size_t index) {
    if (!view || view.get() == this || isDescendantOf(view.get()))
        return;
    index = std::min(index, subviews_.size() - (view->superview_ == this ? 1 : 0));
    if (view->superview_ == this && subviews_[index] == view)
        return; // already there: nothing to redraw
    if (view->superview_ == this)
        view->detachFromSuperview();
    else
        view->removeFromSuperview();
    view->superview_ = this;
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), std::move(view));
    setNeedsComposite();
}

void View::removeFromSuperview() {
    if (!superview_)
        return;
    cancelAnimationsInSubtree();
    resignFirstResponderInSubtree();
    // Whoever called this may hold the last reference only through the superview.
    auto keepAlive = shared_from_this();
    detachFromSuperview();
}

void View::detachFromSuperview() {
    auto& siblings = superview_->subviews_;
    std::erase_if(siblings, [this](const ViewPtr& v) { return v.get() == this; });
    superview_->setNeedsComposite();
    superview_ = nullptr;
}

void View::bringSubviewToFront(const View* view) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [view](const ViewPtr& v) { return v.get() == view; });
    if (it == subviews_.end())
        return;
    std::rotate(it, it + 1, subviews_.end());
    setNeedsComposite();
}

bool View::isDescendantOf(const View* ancestor) const {
    for (const View* v = this; v; v = v->superview_) {
        if (v == ancestor)
            return true;
    }
    return false;
}

View* View::findView(const std::string& identifier) {
    if (identifier_ == identifier)
        return this;
    for (auto& subview : subviews_) {
        if (auto* found = subview->findView(identifier))
            return found;
    }
    return nullptr;
}

View* View::viewWithTag(int tag) {
    if (tag_ == tag)
        return this;
    for (auto& subview : subviews_) {
        if (auto* found = subview->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

AffineTransform View::transformToSuperview() const {
    return placement(center_, bounds_, transform_);
}

AffineTransform View::transformToRoot() const {
    AffineTransform m;
    for (const View* v = this; v->superview_; v = v->superview_)
        m = m.concat(v->transformToSuperview());
    return m;
}

Point View::convertTo(Point point, const View* view) const {
    Point inRoot = transformToRoot().apply(point);
    return view ? view->transformToRoot().inverted().apply(inRoot) : inRoot;
}

Point View::convertFrom(Point point, const View* view) const {
    Point inRoot = view ? view->transformToRoot().apply(point) : point;
    return transformToRoot().inverted().apply(inRoot);
}

Rect View::convertTo(const Rect& rect, const View* view) const {
    AffineTransform m = transformToRoot();
    if (view)
        m = m.concat(view->transformToRoot().inverted());
    return m.apply(rect);
}

View* View::hitTest(Point point) {
    if (hidden_ || touchAlpha() <= 0.01 || !userInteraction_ || !pointInside(point))
        return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        View& subview = **it;
        if (auto* hit = subview.hitTest(subview.touchTransformToSuperview().inverted().apply(point)))
            return hit;
    }
    return this;
}

Float View::touchAlpha() const {
    return hitTesting_ == HitTesting::Presentation ? presentationAlpha() : alpha_;
}

AffineTransform View::touchTransformToSuperview() const {
    return hitTesting_ == HitTesting::Presentation ? presentationTransformToSuperview()
                                                   : transformToSuperview();
}

bool View::pointInside(Point point) const {
    return bounds_.contains(point);
}

const PropertyAnimation* View::runningAnimation(AnimatedProperty property) const {
    Float now = RunLoop::main().now();
    for (auto& animation : animations_) {
        if (animation.property == property && now < animation.end())
            return &animation;
    }
    return nullptr;
}

Float View::presentationAlpha() const {
    return presented(runningAnimation(AnimatedProperty::Alpha), alpha_);
}

Point View::presentationCenter() const {
    return presented(runningAnimation(AnimatedProperty::Center), center_);
}

Rect View::presentationBounds() const {
    return presented(runningAnimation(AnimatedProperty::Bounds), bounds_);
}

AffineTransform View::presentationTransform() const {
    return presented(runningAnimation(AnimatedProperty::Transform), transform_);
}

AffineTransform View::presentationTransformToSuperview() const {
    return placement(presentationCenter(), presentationBounds(), presentationTransform());
}

bool View::hasRunningAnimations() const {
    Float now = RunLoop::main().now();
    if (transition_ && now < transition_->end())
        return true;
    return std::any_of(animations_.begin(), animations_.end(), [now](auto& a) { return now < a.end(); });
}

void View::removeAllAnimations() {
    if (animations_.empty() && !transition_)
        return;
    animations_.clear();
    transition_.reset();
    setNeedsComposite();
}

const TransitionAnimation* View::runningTransition() const {
    if (transition_ && RunLoop::main().now() < transition_->end())
        return &*transition_;
    return nullptr;
}

void View::animateChange(AnimatedProperty property, AnimatedValue presentedBefore) {
    Float duration = Animation::openDuration();
    std::erase_if(animations_, [&](const PropertyAnimation& a) {
        return a.property == property && (duration > 0 || RunLoop::main().now() >= a.end());
    });
    if (!Animation::isOpen() || duration <= 0)
        return;
    animations_.push_back({property, std::move(presentedBefore), RunLoop::main().now(), duration});
    Animation::noteRunning(*this);
}

void View::startTransition(TransitionAnimation transition) {
    transition_ = std::move(transition);
    Animation::noteRunning(*this);
    setNeedsComposite();
}

void View::cancelAnimationsInSubtree() {
    removeAllAnimations();
    for (auto& subview : subviews_)
        subview->cancelAnimationsInSubtree();
}

void View::resignFirstResponderInSubtree() {
    resignFirstResponder();
    for (auto& subview : subviews_)
        subview->resignFirstResponderInSubtree();
}

void View::setNeedsDisplay() {
    ++contentVersion_;
    ++generation;
}

void View::setNeedsComposite() {
    ++generation;
}

std::uint64_t View::displayGeneration() {
    return generation;
}

Responder* View::nextResponder() const {
    if (controller_)
        return controller_;
    return superview_;
}

} // namespace ui
