#include "uikit/Geometry.h"

#include <charconv>

namespace uikit {

namespace {

std::string shortest(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0 ? 0.0 : value);
    return std::string(buffer, result.ptr);
}

}  // namespace

Rect Rect::intersection(const Rect& r) const {
    double left = std::max(minX(), r.minX());
    double top = std::max(minY(), r.minY());
    double right = std::min(maxX(), r.maxX());
    double bottom = std::min(maxY(), r.maxY());
    if (right <= left || bottom <= top)
        return {};
    return {left, top, right - left, bottom - top};
}

Rect Rect::unionWith(const Rect& r) const {
    if (isEmpty())
        return r;
    if (r.isEmpty())
        return *this;
    double left = std::min(minX(), r.minX());
    double top = std::min(minY(), r.minY());
    return {left, top, std::max(maxX(), r.maxX()) - left, std::max(maxY(), r.maxY()) - top};
}

std::string Rect::toString() const {
    return "(" + shortest(origin.x) + " " + shortest(origin.y) + "; " + shortest(size.width) + " " +
           shortest(size.height) + ")";
}

AffineTransform AffineTransform::makeRotation(double radians) {
    double c = std::cos(radians);
    double s = std::sin(radians);
    return {c, s, -s, c, 0, 0};
}

AffineTransform AffineTransform::concatenating(const AffineTransform& o) const {
    return {a * o.a + b * o.c, a * o.b + b * o.d,          c * o.a + d * o.c,
            c * o.b + d * o.d, tx * o.a + ty * o.c + o.tx, tx * o.b + ty * o.d + o.ty};
}

Rect AffineTransform::apply(const Rect& r) const {
    Point corners[] = {apply(Point{r.minX(), r.minY()}), apply(Point{r.maxX(), r.minY()}),
                       apply(Point{r.minX(), r.maxY()}), apply(Point{r.maxX(), r.maxY()})};
    double left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
    for (const Point& p : corners) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return {left, top, right - left, bottom - top};
}

}  // namespace uikit
