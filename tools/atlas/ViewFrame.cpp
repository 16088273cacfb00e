#include "ViewFrame.h"

#include <algorithm>
#include <cmath>

namespace atlas {

ViewFrame::ViewFrame(const Box& window, bool mirror, int width, int height)
    : window_(window), mirror_(mirror), width_(width), height_(height) {
    double shape = double(width) / height;
    if (window_.width / window_.height > shape) {
        double grown = window_.width / shape;
        window_.y -= (grown - window_.height) / 2;
        window_.height = grown;
    } else {
        double grown = window_.height * shape;
        window_.x -= (grown - window_.width) / 2;
        window_.width = grown;
    }
}

cairo_matrix_t ViewFrame::matrix() const {
    double k = pixelsPerUnit();
    cairo_matrix_t m;
    if (mirror_)
        cairo_matrix_init(&m, -k, 0, 0, k, width_ + window_.x * k, -window_.y * k);
    else
        cairo_matrix_init(&m, k, 0, 0, k, -window_.x * k, -window_.y * k);
    return m;
}

Box ViewFrame::toPixels(const Box& box) const {
    cairo_matrix_t m = matrix();
    double x0 = box.x, y0 = box.y, x1 = box.right(), y1 = box.bottom();
    cairo_matrix_transform_point(&m, &x0, &y0);
    cairo_matrix_transform_point(&m, &x1, &y1);
    return {std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0)};
}

} // namespace atlas
