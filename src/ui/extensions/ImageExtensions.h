#pragma once

#include <memory>

#include "uikit/Color.h"
#include "uikit/Geometry.h"
#include "uikit/Image.h"

namespace corvane {

// An image of the size (points, at the screen's scale) filled with the colour; 1 x 1 by
// default. A size without area, or too large to allocate, gives the empty image.
std::shared_ptr<uikit::Image> imageWithColor(const uikit::Color& color, uikit::Size size = {1, 1});

// The image with its corners cut round at the radius (in pixels), outside the corners clear, at
// one point per pixel. Any thread: it draws into a context of its own.
std::shared_ptr<uikit::Image> makeRoundedImage(const uikit::Image& image, double radius);

// The mean colour of the image's pixels, opaque; a see-through pixel counts as dark as it is
// clear. Black for an image without pixels.
uikit::Color getDominantColor(const uikit::Image& image);

}  // namespace corvane
