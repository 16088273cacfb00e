#include "AtlasSource.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace atlas {

namespace {

std::optional<double> number(const std::string& text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<Colour> Colour::parse(const std::string& hex, const std::string& opacity) {
    if (hex.size() != 7 || hex[0] != '#')
        return std::nullopt;
    double channels[3];
    for (int i = 0; i < 3; ++i) {
        int high = hexDigit(hex[1 + 2 * i]), low = hexDigit(hex[2 + 2 * i]);
        if (high < 0 || low < 0)
            return std::nullopt;
        channels[i] = (high * 16 + low) / 255.0;
    }
    double alpha = 1;
    if (!opacity.empty()) {
        auto value = number(opacity);
        if (!value || *value < 0 || *value > 1)
            return std::nullopt;
        alpha = *value;
    }
    return Colour{channels[0], channels[1], channels[2], alpha};
}

Box Box::united(const Box& other) const {
    if (empty())
        return other;
    if (other.empty())
        return *this;
    double left = std::min(x, other.x), top = std::min(y, other.y);
    return {left, top, std::max(right(), other.right()) - left, std::max(bottom(), other.bottom()) - top};
}

const ArtworkSource* AtlasSource::findArtwork(const std::string& name) const {
    auto found = std::ranges::find(artworks, name, &ArtworkSource::name);
    return found == artworks.end() ? nullptr : &*found;
}

const Style* AtlasSource::findStyle(const std::string& name) const {
    auto found = std::ranges::find(styles, name, &Style::name);
    return found == styles.end() ? nullptr : &*found;
}

const Structure* AtlasSource::findStructure(const std::string& key) const {
    auto found = std::ranges::find(structures, key, &Structure::key);
    return found == structures.end() ? nullptr : &*found;
}

} // namespace atlas
