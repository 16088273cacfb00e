#include "Mask.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

namespace atlas {

Mask::Region Mask::regionOf(const Box& box, int grow) const {
    if (box.empty())
        return {0, 0, 0, 0};
    return {std::max(0, int(box.x) - grow), std::max(0, int(box.y) - grow),
            std::min(width_, int(std::ceil(box.right())) + grow),
            std::min(height_, int(std::ceil(box.bottom())) + grow)};
}

Mask::Mask(int width, int height)
    : width_(width), height_(height), stride_(cairo_format_stride_for_width(CAIRO_FORMAT_A8, width)),
      data_(static_cast<std::size_t>(stride_) * height, 0) {}

Mask::SurfacePtr Mask::surface() {
    return {cairo_image_surface_create_for_data(data_.data(), CAIRO_FORMAT_A8, width_, height_, stride_),
            cairo_surface_destroy};
}

Box Mask::bounds(std::uint8_t threshold) const {
    int left = width_, top = -1, right = -1, bottom = -1;
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* row = &data_[static_cast<std::size_t>(y) * stride_];
        int first = 0;
        while (first < width_ && row[first] <= threshold)
            ++first;
        if (first == width_)
            continue;
        int last = width_ - 1;
        while (row[last] <= threshold)
            --last;
        if (top < 0)
            top = y;
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (top < 0)
        return {};
    return {double(left), double(top), double(right - left + 1), double(bottom - top + 1)};
}

long Mask::count(std::uint8_t threshold) const {
    long n = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            n += at(x, y) > threshold;
    return n;
}

void Mask::subtract(const Mask& cover) {
    Region area = regionOf(bounds(0), 0);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            at(x, y) = static_cast<std::uint8_t>(at(x, y) * (255 - cover.at(x, y)) / 255);
}

void Mask::unite(const Mask& other, double alpha) {
    int weight = static_cast<int>(std::lround(alpha * 256));
    Region area = regionOf(other.bounds(0), 0);
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            auto value = static_cast<std::uint8_t>(other.at(x, y) * weight >> 8);
            at(x, y) = std::max(at(x, y), value);
        }
    }
}

Mask Mask::shifted(int dx, int dy) const {
    Mask moved(width_, height_);
    for (int y = 0; y < height_; ++y) {
        int from = y - dy;
        if (from < 0 || from >= height_)
            continue;
        for (int x = 0; x < width_; ++x) {
            int fromX = x - dx;
            if (fromX >= 0 && fromX < width_)
                moved.at(x, y) = at(fromX, from);
        }
    }
    return moved;
}

void Mask::keepInside(const Box& box) {
    Region keep = regionOf(box, 0);
    if (keep.left == 0 && keep.top == 0 && keep.right == width_ && keep.bottom == height_)
        return;
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = &data_[static_cast<std::size_t>(y) * stride_];
        if (y < keep.top || y >= keep.bottom) {
            std::fill(row, row + width_, 0);
            continue;
        }
        std::fill(row, row + keep.left, 0);
        std::fill(row + keep.right, row + width_, 0);
    }
}

Mask Mask::rim(int radius) const {
    // Erosion by a square is a minimum over rows, then over columns; only the covered part matters.
    Mask result(width_, height_);
    Region area = regionOf(bounds(0), radius);
    Mask rows(width_, height_);
    // Beyond the raster's edge the shape goes on: a shape cut by the picture's edge gets no rim there.
    auto value = [this](int x, int y) {
        return x < 0 || y < 0 || x >= width_ || y >= height_ ? 255 : at(x, y);
    };
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            int low = 255;
            for (int k = -radius; k <= radius; ++k)
                low = std::min(low, int(value(x + k, y)));
            rows.at(x, y) = static_cast<std::uint8_t>(low);
        }
    }
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            int low = 255;
            for (int k = -radius; k <= radius; ++k)
                low = std::min(low, y + k < 0 || y + k >= height_ ? 255 : int(rows.at(x, y + k)));
            result.at(x, y) = static_cast<std::uint8_t>(at(x, y) - std::min(int(at(x, y)), low));
        }
    }
    return result;
}

Mask Mask::outsideOf(const Mask& walls, std::uint8_t threshold, const Mask* seeds) {
    Mask outside(walls.width(), walls.height());
    std::deque<Pixel> queue;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= walls.width() || y >= walls.height())
            return;
        if (outside.at(x, y) || walls.at(x, y) > threshold)
            return;
        outside.at(x, y) = 255;
        queue.push_back({x, y});
    };
    for (int x = 0; x < walls.width(); ++x) {
        visit(x, 0);
        visit(x, walls.height() - 1);
    }
    for (int y = 0; y < walls.height(); ++y) {
        visit(0, y);
        visit(walls.width() - 1, y);
    }
    if (seeds) {
        for (int y = 0; y < walls.height(); ++y)
            for (int x = 0; x < walls.width(); ++x)
                if (seeds->at(x, y) > 127)
                    visit(x, y);
    }
    while (!queue.empty()) {
        Pixel p = queue.front();
        queue.pop_front();
        visit(p.x + 1, p.y);
        visit(p.x - 1, p.y);
        visit(p.x, p.y + 1);
        visit(p.x, p.y - 1);
    }
    return outside;
}

Mask Mask::strokesTouching(const Mask& lines, const Mask& outside) {
    const int w = lines.width(), h = lines.height();
    constexpr std::uint8_t ink = 24;
    Mask kept(w, h), seen(w, h);
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h; };
    auto touchesOutside = [&](int x, int y) {
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
            if (inside(x + dx, y + dy) && outside.at(x + dx, y + dy) > 127)
                return true;
        return false;
    };
    for (int y0 = 0; y0 < h; ++y0) {
        for (int x0 = 0; x0 < w; ++x0) {
            if (seen.at(x0, y0) || lines.at(x0, y0) <= ink)
                continue;
            std::vector<Pixel> component{{x0, y0}};
            seen.at(x0, y0) = 255;
            bool touching = false;
            for (std::size_t i = 0; i < component.size(); ++i) {
                auto [x, y] = component[i];
                touching = touching || touchesOutside(x, y);
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        int nx = x + dx, ny = y + dy;
                        if (inside(nx, ny) && !seen.at(nx, ny) && lines.at(nx, ny) > ink) {
                            seen.at(nx, ny) = 255;
                            component.push_back({nx, ny});
                        }
                    }
                }
            }
            if (!touching)
                continue;
            for (auto [x, y] : component)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (inside(x + dx, y + dy))
                            kept.at(x + dx, y + dy) = lines.at(x + dx, y + dy);
        }
    }
    return kept;
}

std::optional<Pixel> Mask::labelPoint(const Box& allowed) const {
    // Work in the part of the raster where covered, allowed pixels lie, with a border of one pixel.
    Box covered = bounds();
    if (covered.empty())
        return std::nullopt;
    Region area = regionOf(covered, 1);
    const int w = area.right - area.left, h = area.bottom - area.top;
    constexpr int far = std::numeric_limits<int>::max() / 2;
    std::vector<int> distance(static_cast<std::size_t>(w) * h, 0);
    auto index = [w](int x, int y) { return static_cast<std::size_t>(y) * w + x; };
    auto usable = [&](int x, int y) {
        return at(x, y) > 127 && x >= allowed.x && x < allowed.right() && y >= allowed.y &&
               y < allowed.bottom();
    };
    double sumX = 0, sumY = 0;
    long n = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!usable(x + area.left, y + area.top))
                continue;
            distance[index(x, y)] = far;
            sumX += x;
            sumY += y;
            ++n;
        }
    }
    if (n == 0)
        return std::nullopt;
    // Two-pass chamfer distance (3 straight, 4 diagonal) to the nearest unusable pixel.
    auto relax = [&](int x, int y, int nx, int ny, int step) {
        int neighbour = (nx < 0 || ny < 0 || nx >= w || ny >= h) ? 0 : distance[index(nx, ny)];
        distance[index(x, y)] = std::min(distance[index(x, y)], neighbour + step);
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!distance[index(x, y)])
                continue;
            relax(x, y, x - 1, y, 3);
            relax(x, y, x, y - 1, 3);
            relax(x, y, x - 1, y - 1, 4);
            relax(x, y, x + 1, y - 1, 4);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = w - 1; x >= 0; --x) {
            if (!distance[index(x, y)])
                continue;
            relax(x, y, x + 1, y, 3);
            relax(x, y, x, y + 1, 3);
            relax(x, y, x + 1, y + 1, 4);
            relax(x, y, x - 1, y + 1, 4);
        }
    }
    int deepest = *std::ranges::max_element(distance);
    int good = std::max(1, deepest * 4 / 5);
    double cx = sumX / n, cy = sumY / n;
    Pixel best;
    double bestDistance = std::numeric_limits<double>::max();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (distance[index(x, y)] < good)
                continue;
            double d = std::hypot(x - cx, y - cy);
            if (d < bestDistance) {
                bestDistance = d;
                best = {x + area.left, y + area.top};
            }
        }
    }
    return best;
}

} // namespace atlas
