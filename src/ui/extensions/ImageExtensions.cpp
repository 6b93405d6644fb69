#include "ui/extensions/ImageExtensions.h"

#include "uikit/ImageContext.h"
#include "uikit/Screen.h"

namespace corvane {

std::shared_ptr<uikit::Image> imageWithColor(const uikit::Color& color, uikit::Size size) {
    const double scale = uikit::Screen::main().scale();
    const double pixels = size.width * size.height * scale * scale;
    // Written so that NaN is refused too: it must never reach the bitmap's allocation.
    if (!(size.width > 0 && size.height > 0 && pixels <= uikit::Image::kMaxPixels))
        return uikit::Image::empty();
    uikit::ImageContext context(size, false, 0);
    context.clear();
    context.fillAll(color);
    return context.makeImage();
}

}  // namespace corvane
