#pragma once

#include <memory>

#include "uikit/Color.h"
#include "uikit/Geometry.h"
#include "uikit/Image.h"

namespace corvane {

// An image of the size (points, at the screen's scale) filled with the colour; 1 x 1 by
// default. A size without area, or too large to allocate, gives the empty image.
std::shared_ptr<uikit::Image> imageWithColor(const uikit::Color& color, uikit::Size size = {1, 1});

}  // namespace corvane
