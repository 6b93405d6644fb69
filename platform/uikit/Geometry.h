#pragma once

#include <algorithm>
#include <cmath>
#include <compare>
#include <string>

namespace uikit {

// Geometry in points, with the origin at the top left and y growing downwards.

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool operator==(const EdgeInsets&) const = default;
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(Point origin, Size size) : origin(origin), size(size) {}
    Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}

    double minX() const { return std::min(origin.x, origin.x + size.width); }
    double maxX() const { return std::max(origin.x, origin.x + size.width); }
    double midX() const { return origin.x + size.width / 2; }
    double minY() const { return std::min(origin.y, origin.y + size.height); }
    double maxY() const { return std::max(origin.y, origin.y + size.height); }
    double midY() const { return origin.y + size.height / 2; }
    double width() const { return std::abs(size.width); }
    double height() const { return std::abs(size.height); }
    Point center() const { return {midX(), midY()}; }
    bool isEmpty() const { return size.width == 0 || size.height == 0; }

    // Half-open on the far edges, so adjacent rectangles never both contain a point.
    bool contains(Point p) const {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    bool contains(const Rect& r) const {
        return r.minX() >= minX() && r.maxX() <= maxX() && r.minY() >= minY() && r.maxY() <= maxY();
    }
    bool intersects(const Rect& r) const {
        return r.minX() < maxX() && r.maxX() > minX() && r.minY() < maxY() && r.maxY() > minY();
    }
    // The common part, or an empty rectangle at the origin when there is none.
    Rect intersection(const Rect& r) const;
    Rect unionWith(const Rect& r) const;
    Rect insetBy(double dx, double dy) const {
        return {minX() + dx, minY() + dy, width() - 2 * dx, height() - 2 * dy};
    }
    Rect inset(const EdgeInsets& e) const {
        return {minX() + e.left, minY() + e.top, width() - e.left - e.right,
                height() - e.top - e.bottom};
    }
    Rect offsetBy(double dx, double dy) const {
        return {origin.x + dx, origin.y + dy, size.width, size.height};
    }
    // "(x y; w h)" with numbers in their shortest form.
    std::string toString() const;

    bool operator==(const Rect&) const = default;
};

// A 2-D affine transform as [a b 0; c d 0; tx ty 1], applied to row vectors.
struct AffineTransform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform makeScale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static AffineTransform makeTranslation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static AffineTransform makeRotation(double radians);

    bool isIdentity() const { return *this == AffineTransform{}; }
    // This transform followed by the other.
    AffineTransform concatenating(const AffineTransform& other) const;
    AffineTransform scaledBy(double sx, double sy) const {
        return makeScale(sx, sy).concatenating(*this);
    }
    AffineTransform translatedBy(double x, double y) const {
        return makeTranslation(x, y).concatenating(*this);
    }
    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // The bounding box of the transformed rectangle.
    Rect apply(const Rect& r) const;

    bool operator==(const AffineTransform&) const = default;
};

// A row of a table (section, row) or an item of a collection (section, item).
struct IndexPath {
    int section = 0;
    int row = 0;

    static IndexPath forRow(int row, int section) { return {section, row}; }
    static IndexPath forItem(int item, int section) { return {section, item}; }
    int item() const { return row; }

    auto operator<=>(const IndexPath&) const = default;
    bool operator==(const IndexPath&) const = default;
};

}  // namespace uikit
