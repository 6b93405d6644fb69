#include "uikit/Canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "uikit/View.h"

namespace uikit {

double Canvas::scale() const {
    double x = 1, y = 0;
    cairo_surface_t* target = cairo_get_target(cairo_);
    cairo_surface_get_device_scale(target, &x, &y);
    cairo_matrix_t matrix;
    cairo_get_matrix(cairo_, &matrix);
    return std::hypot(matrix.xx, matrix.yx) * x;
}

void Canvas::save() {
    cairo_save(cairo_);
}

void Canvas::restore() {
    cairo_restore(cairo_);
}

void Canvas::translate(double x, double y) {
    cairo_translate(cairo_, x, y);
}

void Canvas::concat(const AffineTransform& t) {
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_transform(cairo_, &matrix);
}

void Canvas::clipToRect(const Rect& rect, double cornerRadius) {
    roundedRectPath(rect, cornerRadius);
    cairo_clip(cairo_);
}

bool Canvas::isVisible(const Rect& rect) const {
    if (rect.isEmpty())
        return false;
    double x1, y1, x2, y2;
    cairo_clip_extents(cairo_, &x1, &y1, &x2, &y2);
    return rect.intersects({x1, y1, x2 - x1, y2 - y1});
}

void Canvas::beginLayer() {
    cairo_push_group(cairo_);
}

void Canvas::endLayer(double alpha) {
    cairo_pop_group_to_source(cairo_);
    cairo_paint_with_alpha(cairo_, alpha);
}

void Canvas::clear() {
    cairo_save(cairo_);
    cairo_set_operator(cairo_, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cairo_);
    cairo_restore(cairo_);
}

void Canvas::fill(const Rect& rect, const Color& color, double cornerRadius) {
    setSource(color);
    roundedRectPath(rect, cornerRadius);
    cairo_fill(cairo_);
}

void Canvas::fillEllipse(const Rect& rect, const Color& color) {
    if (rect.isEmpty())
        return;
    setSource(color);
    ellipsePath(rect);
    cairo_fill(cairo_);
}

void Canvas::strokeInside(const Rect& rect, double width, const Color& color, double cornerRadius) {
    if (width <= 0)
        return;
    double half = std::min({width, rect.width(), rect.height()}) / 2;
    setSource(color);
    roundedRectPath(rect.insetBy(half, half), std::max(0.0, cornerRadius - half));
    cairo_set_line_width(cairo_, 2 * half);
    cairo_stroke(cairo_);
}

void Canvas::strokeEllipse(const Rect& rect, double width, const Color& color) {
    if (rect.isEmpty())
        return;
    setSource(color);
    ellipsePath(rect);
    cairo_set_line_width(cairo_, width);
    cairo_stroke(cairo_);
}

void Canvas::strokeLines(const std::vector<Point>& points, double width, const Color& color) {
    if (points.size() < 2)
        return;
    setSource(color);
    cairo_new_path(cairo_);
    cairo_move_to(cairo_, points.front().x, points.front().y);
    for (std::size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cairo_, points[i].x, points[i].y);
    cairo_set_line_width(cairo_, width);
    cairo_set_line_cap(cairo_, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cairo_, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cairo_);
}

void Canvas::maskToRoundedRect(const Rect& rect, double cornerRadius) {
    cairo_save(cairo_);
    roundedRectPath(rect, cornerRadius);
    cairo_set_operator(cairo_, CAIRO_OPERATOR_DEST_IN);
    cairo_set_source_rgba(cairo_, 0, 0, 0, 1);
    cairo_fill(cairo_);
    cairo_restore(cairo_);
}

void Canvas::drawImage(const Image& image, const Rect& rect, const std::optional<Color>& tint) {
    const PixelBuffer& pixels = image.pixels();
    if (pixels.width == 0 || pixels.height == 0 || rect.isEmpty())
        return;
    // Cairo only reads a source surface, so the shared pixels are never written.
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(pixels.bytes.data()), CAIRO_FORMAT_ARGB32, pixels.width,
        pixels.height, pixels.stride);
    // Smoothing reads past the image's edge: padding keeps the edge pixels there, and the clip
    // keeps the drawing inside the rectangle, so a stretched image keeps crisp, full edges.
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, pixels.width / rect.width(), pixels.height / rect.height());
    cairo_matrix_translate(&matrix, -rect.minX(), -rect.minY());
    cairo_pattern_set_matrix(pattern, &matrix);
    cairo_save(cairo_);
    cairo_rectangle(cairo_, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_clip(cairo_);
    if (image.isTemplate()) {
        setSource(tint.value_or(Color::systemBlue()));
        cairo_mask(cairo_, pattern);
    } else {
        cairo_set_source(cairo_, pattern);
        cairo_paint(cairo_);
    }
    cairo_restore(cairo_);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(source);
}

void Canvas::drawImage(const Image& image, const Rect& bounds, ContentMode mode,
                       const std::optional<Color>& tint) {
    drawImage(image, placeContent(image.size(), bounds, mode), tint);
}

Rect Canvas::placeContent(Size content, const Rect& bounds, ContentMode mode) {
    double width = content.width, height = content.height;
    if (mode == ContentMode::scaleAspectFit || mode == ContentMode::scaleAspectFill) {
        if (width <= 0 || height <= 0)
            return {bounds.minX(), bounds.minY(), 0, 0};
        double sx = bounds.width() / width, sy = bounds.height() / height;
        double factor = mode == ContentMode::scaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
        width *= factor;
        height *= factor;
    } else if (mode == ContentMode::scaleToFill || mode == ContentMode::redraw) {
        return bounds;
    }
    double x = bounds.midX() - width / 2, y = bounds.midY() - height / 2;
    if (mode == ContentMode::left || mode == ContentMode::topLeft ||
        mode == ContentMode::bottomLeft)
        x = bounds.minX();
    if (mode == ContentMode::right || mode == ContentMode::topRight ||
        mode == ContentMode::bottomRight)
        x = bounds.maxX() - width;
    if (mode == ContentMode::top || mode == ContentMode::topLeft || mode == ContentMode::topRight)
        y = bounds.minY();
    if (mode == ContentMode::bottom || mode == ContentMode::bottomLeft ||
        mode == ContentMode::bottomRight)
        y = bounds.maxY() - height;
    return {x, y, width, height};
}

void Canvas::roundedRectPath(const Rect& rect, double radius) {
    double r = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2);
    double left = rect.minX(), top = rect.minY(), right = rect.maxX(), bottom = rect.maxY();
    cairo_new_path(cairo_);
    if (r <= 0) {
        cairo_rectangle(cairo_, left, top, rect.width(), rect.height());
        return;
    }
    constexpr double pi = std::numbers::pi;
    cairo_new_sub_path(cairo_);
    cairo_arc(cairo_, right - r, top + r, r, -pi / 2, 0);
    cairo_arc(cairo_, right - r, bottom - r, r, 0, pi / 2);
    cairo_arc(cairo_, left + r, bottom - r, r, pi / 2, pi);
    cairo_arc(cairo_, left + r, top + r, r, pi, 3 * pi / 2);
    cairo_close_path(cairo_);
}

// The path is made under a scaled transform; it is stroked or filled after the transform is
// restored, so a stroke keeps an even width.
void Canvas::ellipsePath(const Rect& rect) {
    cairo_save(cairo_);
    cairo_translate(cairo_, rect.midX(), rect.midY());
    cairo_scale(cairo_, rect.width() / 2, rect.height() / 2);
    cairo_new_path(cairo_);
    cairo_arc(cairo_, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cairo_);
}

void Canvas::setSource(const Color& color) {
    cairo_set_source_rgba(cairo_, color.red(), color.green(), color.blue(), color.alpha());
}

}  // namespace uikit
