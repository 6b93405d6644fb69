#include "uikit/ImageContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "uikit/Screen.h"

namespace uikit {

namespace {

// Pixels of a context are capped like decoded images: a drawing of absurd size is refused.
int pixelExtent(double points, double scale) {
    double pixels = std::ceil(std::max(0.0, points) * scale);
    return static_cast<int>(std::min(pixels, 65535.0));
}

}  // namespace

ImageContext::ImageContext(Size size, bool opaque, double scale)
    : size_(size), scale_(scale > 0 ? scale : Screen::main().scale()) {
    int width = pixelExtent(size.width, scale_);
    int height = pixelExtent(size.height, scale_);
    if (static_cast<std::int64_t>(width) * height > Image::kMaxPixels)
        width = height = 0;
    surface_ = cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width,
                                          height);
    cairo_ = cairo_create(surface_);
    cairo_scale(cairo_, scale_, scale_);
    canvas_ = Canvas(cairo_);
    if (opaque)
        fillAll(Color::black());
}

ImageContext::~ImageContext() {
    cairo_destroy(cairo_);
    cairo_surface_destroy(surface_);
}

void ImageContext::clear() {
    canvas_.clear();
}

void ImageContext::fill(const Rect& rect, const Color& color) {
    canvas_.fill(rect, color);
}

void ImageContext::drawImage(const Image& image, const Rect& rect,
                             const std::optional<Color>& tint) {
    canvas_.drawImage(image, rect, tint);
}

void ImageContext::clipToRoundedRect(const Rect& rect, double cornerRadius) {
    canvas_.clipToRect(rect, cornerRadius);
}

void ImageContext::maskToRoundedRect(const Rect& rect, double cornerRadius) {
    canvas_.maskToRoundedRect(rect, cornerRadius);
}

Color ImageContext::pixelAt(int x, int y) const {
    auto image = makeImage();
    return image->pixelAt(x, y);
}

Color ImageContext::meanColor() const {
    cairo_surface_flush(surface_);
    int width = cairo_image_surface_get_width(surface_);
    int height = cairo_image_surface_get_height(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    bool opaque = cairo_image_surface_get_format(surface_) == CAIRO_FORMAT_RGB24;
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    double sums[4] = {0, 0, 0, 0};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t word;
            std::memcpy(&word, data + static_cast<std::size_t>(y) * stride + x * 4, 4);
            sums[0] += (word >> 16) & 0xFF;
            sums[1] += (word >> 8) & 0xFF;
            sums[2] += word & 0xFF;
            sums[3] += opaque ? 255 : (word >> 24);
        }
    }
    // Premultiplied sums divided by the alpha sum give the colour weighted by coverage.
    if (sums[3] == 0)
        return Color::clear();
    double count = static_cast<double>(width) * height;
    return {sums[0] / sums[3], sums[1] / sums[3], sums[2] / sums[3], sums[3] / 255.0 / count};
}

std::shared_ptr<Image> ImageContext::makeImage() const {
    auto pixels = PixelBuffer::copyOf(surface_);
    if (cairo_image_surface_get_format(surface_) == CAIRO_FORMAT_RGB24) {
        // The unused byte of an opaque surface becomes full alpha.
        for (std::size_t i = 0; i + 4 <= pixels->bytes.size(); i += 4) {
            std::uint32_t word;
            std::memcpy(&word, pixels->bytes.data() + i, 4);
            word |= 0xFF000000u;
            std::memcpy(pixels->bytes.data() + i, &word, 4);
        }
    }
    return Image::fromPixels(std::move(pixels), scale_);
}

}  // namespace uikit
