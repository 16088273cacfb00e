// The neighbours a swipe turns to and the hint arrows. V is the current view's name, P the "v" of the
// view entered last; *keys* are the region's plain views in order, and *the first key* the first of
// them that passes a test.
#include "ViewRing.h"

namespace {

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// The right group as a swipe names it: exactly one of these three.
bool isRightByName(const std::string& name) {
    return name == "Medial" || name == "Right Side" || name == "Right Lat.";
}

bool isLeftOrLeftSide(const std::string& name) {
    return contains(name, "Left") || contains(name, "Lateral");
}

} // namespace

ViewRing::ViewRing(std::string current, std::string vparam, std::vector<std::string> keys,
                   std::vector<View> views)
    : v_(std::move(current)), p_(std::move(vparam)), keys_(std::move(keys)), views_(std::move(views)) {}

bool ViewRing::isLeft(const std::string& name) {
    return contains(name, "Lateral") || name == "Left Side";
}

bool ViewRing::isRight(const std::string& name) {
    return contains(name, "Medial") || name == "Right Side" || name == "Right Lat.";
}

bool ViewRing::isTop(const std::string& name) {
    return contains(name, "Superior") || contains(name, "Dorsal");
}

bool ViewRing::isBottom(const std::string& name) {
    return contains(name, "Inferior") || contains(name, "Plantar");
}

bool ViewRing::isFront() const {
    return v_ == "Anterior" || v_ == "Anterior Skin" || v_ == "Anterior Xray" || p_ == "Anterior";
}

bool ViewRing::isLeftOrBase() const {
    return isLeft(v_) || isLeft(p_);
}

bool ViewRing::offers(const std::string& name) const {
    for (const auto& view : views_) {
        if (view.name == name)
            return true;
    }
    return false;
}

std::optional<std::string> ViewRing::firstKey(bool (*test)(const std::string&)) const {
    for (const auto& key : keys_) {
        if (test(key))
            return key;
    }
    return std::nullopt;
}

bool ViewRing::anyKey(bool (*test)(const std::string&)) const {
    return firstKey(test).has_value();
}

std::optional<std::string> ViewRing::ifOffered(const std::string& name) const {
    if (offers(name))
        return name;
    return std::nullopt;
}

// Left: front -> left lateral -> posterior -> right/medial -> front.
std::optional<std::string> ViewRing::swipeLeft() const {
    if (contains(v_, "Medial") || contains(p_, "Medial") || p_ == "Right Side" || v_ == "Right Side" ||
        v_ == "Right Lat.")
        return "Anterior";
    if (isFront())
        return firstKey(isLeft);
    if (isLeftOrBase())
        return ifOffered("Posterior");
    if (v_ == "Posterior" || p_ == "Posterior")
        return firstKey(isRightByName);
    return std::nullopt;
}

// Right: the other way round. From the back without a left view the current view is shown again.
std::optional<std::string> ViewRing::swipeRight() const {
    if (isFront())
        return firstKey(isRightByName);
    if (isLeftOrBase())
        return ifOffered("Anterior");
    if (contains(v_, "Posterior") || contains(p_, "Posterior"))
        return firstKey(isLeftOrLeftSide).value_or(v_);
    if (v_ == "Medial" || p_ == "Medial" || p_ == "Right Side" || v_ == "Right Side" || v_ == "Right Lat.")
        return ifOffered("Posterior");
    return std::nullopt;
}

std::optional<std::string> ViewRing::neighbour(Direction direction) const {
    switch (direction) {
    case Direction::Left:
        return swipeLeft();
    case Direction::Right:
        return swipeRight();
    case Direction::Down:
        return isFront() ? firstKey(isTop) : std::nullopt;
    case Direction::Up:
        return isFront() ? firstKey(isBottom) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> ViewRing::tiltBack(Direction direction) const {
    bool fromBottom = contains(v_, "Inferior") || contains(p_, "Inferior") || contains(v_, "Plantar");
    bool fromTop = contains(v_, "Superior") || contains(p_, "Superior") || contains(v_, "Dorsal");
    if ((direction == Direction::Down && fromBottom) || (direction == Direction::Up && fromTop))
        return "Anterior";
    return std::nullopt;
}

// Derived views take the arrows of the view they hang off.
std::array<bool, 4> ViewRing::hintArrows() const {
    std::string v = contains(v_, ".")                                  ? p_
                    : (v_ == "Anterior Skin" || v_ == "Anterior Xray") ? "Anterior"
                                                                       : v_;
    std::array<bool, 4> blink{};
    bool tiltedOrBack = contains(v, "Dorsal") || contains(v, "Plantar") || contains(v, "Superior") ||
                        contains(v, "Inferior") || contains(v, "Explode") || v == "Posterior";
    if (!tiltedOrBack && anyKey(isLeft) && offers("Posterior"))
        blink[PointsLeft] = true;
    if (isLeft(v) || v == "Medial" || v == "Right Side" || v == "Right Lat." || v == "Posterior") {
        if (offers("Anterior"))
            blink[PointsRight] = true;
    } else if (isTop(v)) {
        blink[PointsUp] = true;
    } else if (isBottom(v)) {
        blink[PointsDown] = true;
    }
    if (v == "Posterior" && anyKey(isRight))
        blink[PointsLeft] = true;
    if (v == "Anterior") {
        for (const auto& key : keys_) {
            if (isTop(key))
                blink[PointsDown] = true;
            else if (isBottom(key))
                blink[PointsUp] = true;
            if (isRight(key))
                blink[PointsRight] = true;
        }
    }
    return blink;
}
