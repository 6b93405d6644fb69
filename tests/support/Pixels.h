// Reading a drawn image as a person looks at it: the colour at a point, and where the ink lies.
// Header only: it needs uikit, which only some test programs link.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "uikit/Color.h"
#include "uikit/Geometry.h"
#include "uikit/Image.h"

namespace testing_support {

// The colour of the pixel under a point (points, at the image's scale).
inline uikit::Color colorAt(const uikit::Image& image, double x, double y) {
    return image.pixelAt(static_cast<int>(std::floor(x * image.scale())),
                         static_cast<int>(std::floor(y * image.scale())));
}

inline double difference(const uikit::Color& a, const uikit::Color& b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue()), std::abs(a.alpha() - b.alpha())});
}

// Equal but for the rounding of 8-bit pixels.
inline bool near(const uikit::Color& a, const uikit::Color& b, double tolerance = 2.5 / 255) {
    return difference(a, b) <= tolerance;
}

inline std::string describe(const uikit::Color& color) {
    return color.toString();
}

// The smallest rectangle (points) around the pixels within the area that differ from the
// background; nothing when there are none.
inline std::optional<uikit::Rect> inkBounds(const uikit::Image& image,
                                            const uikit::Color& background,
                                            const uikit::Rect& area) {
    double scale = image.scale();
    int left = image.pixelWidth(), top = image.pixelHeight(), right = -1, bottom = -1;
    int x0 = std::max(0, static_cast<int>(area.minX() * scale));
    int y0 = std::max(0, static_cast<int>(area.minY() * scale));
    int x1 = std::min(image.pixelWidth(), static_cast<int>(std::ceil(area.maxX() * scale)));
    int y1 = std::min(image.pixelHeight(), static_cast<int>(std::ceil(area.maxY() * scale)));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (difference(image.pixelAt(x, y), background) > 8.0 / 255) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0)
        return std::nullopt;
    return uikit::Rect{left / scale, top / scale, (right + 1 - left) / scale,
                       (bottom + 1 - top) / scale};
}

// The pixel within the area that differs most from the background: the ink at its fullest,
// where antialiasing has not mixed it with the background.
inline uikit::Color strongestInk(const uikit::Image& image, const uikit::Color& background,
                                 const uikit::Rect& area) {
    double scale = image.scale();
    uikit::Color strongest = background;
    for (int y = static_cast<int>(area.minY() * scale); y < area.maxY() * scale; ++y)
        for (int x = static_cast<int>(area.minX() * scale); x < area.maxX() * scale; ++x) {
            uikit::Color pixel = image.pixelAt(x, y);
            if (difference(pixel, background) > difference(strongest, background))
                strongest = pixel;
        }
    return strongest;
}

}  // namespace testing_support
