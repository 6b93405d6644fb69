#include "ui/extensions/ImageExtensions.h"

#include <cstring>

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

std::shared_ptr<uikit::Image> makeRoundedImage(const uikit::Image& image, double radius) {
    const uikit::Size size{static_cast<double>(image.pixelWidth()),
                           static_cast<double>(image.pixelHeight())};
    if (size.width <= 0 || size.height <= 0)
        return uikit::Image::empty();
    uikit::ImageContext context(size, false, 1);
    context.clear();
    context.clipToRoundedRect({{0, 0}, size}, radius);
    context.drawImage(image, {{0, 0}, size});
    return context.makeImage();
}

uikit::Color getDominantColor(const uikit::Image& image) {
    const uikit::PixelBuffer& pixels = image.pixels();
    const double count = static_cast<double>(pixels.width) * pixels.height;
    if (count <= 0)
        return uikit::Color::black();
    // The buffer is premultiplied, so a clear pixel adds nothing but still counts.
    double sums[3] = {0, 0, 0};
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            std::uint32_t word;
            std::memcpy(&word,
                        pixels.bytes.data() + static_cast<std::size_t>(y) * pixels.stride + x * 4,
                        4);
            sums[0] += (word >> 16) & 0xFF;
            sums[1] += (word >> 8) & 0xFF;
            sums[2] += word & 0xFF;
        }
    }
    return {sums[0] / count / 255, sums[1] / count / 255, sums[2] / count / 255};
}

}  // namespace corvane
