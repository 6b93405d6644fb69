#include "uikit/ImageContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "uikit/Screen.h"

namespace uikit {

namespace {

// Pixels of a context are capped like decoded images: a drawing of absurd size is refused.
int pixelExtent(double points, double scale) {
    double pixels = std::ceil(std::max(0.0, points) * scale);
    return static_cast<int>(std::min(pixels, 65535.0));
}

void setSource(cairo_t* cr, const Color& color) {
    cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(), color.alpha());
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
    if (opaque)
        fillAll(Color::black());
}

ImageContext::~ImageContext() {
    cairo_destroy(cairo_);
    cairo_surface_destroy(surface_);
}

void ImageContext::clear() {
    cairo_save(cairo_);
    cairo_set_operator(cairo_, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cairo_);
    cairo_restore(cairo_);
}

void ImageContext::fill(const Rect& rect, const Color& color) {
    setSource(cairo_, color);
    cairo_rectangle(cairo_, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_fill(cairo_);
}

void ImageContext::drawImage(const Image& image, const Rect& rect,
                             const std::optional<Color>& tint) {
    const PixelBuffer& pixels = image.pixels();
    if (pixels.width == 0 || pixels.height == 0 || rect.isEmpty())
        return;
    // Cairo only reads a source surface, so the shared pixels are never written.
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(pixels.bytes.data()), CAIRO_FORMAT_ARGB32, pixels.width,
        pixels.height, pixels.stride);
    cairo_save(cairo_);
    cairo_translate(cairo_, rect.minX(), rect.minY());
    cairo_scale(cairo_, rect.width() / pixels.width, rect.height() / pixels.height);
    if (image.isTemplate()) {
        setSource(cairo_, tint.value_or(Color::systemBlue()));
        cairo_mask_surface(cairo_, source, 0, 0);
    } else {
        cairo_set_source_surface(cairo_, source, 0, 0);
        cairo_paint(cairo_);
    }
    cairo_restore(cairo_);
    cairo_surface_destroy(source);
}

void ImageContext::roundedRectPath(const Rect& rect, double radius) {
    double r = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2);
    double left = rect.minX(), top = rect.minY(), right = rect.maxX(), bottom = rect.maxY();
    constexpr double pi = std::numbers::pi;
    cairo_new_sub_path(cairo_);
    cairo_arc(cairo_, right - r, top + r, r, -pi / 2, 0);
    cairo_arc(cairo_, right - r, bottom - r, r, 0, pi / 2);
    cairo_arc(cairo_, left + r, bottom - r, r, pi / 2, pi);
    cairo_arc(cairo_, left + r, top + r, r, pi, 3 * pi / 2);
    cairo_close_path(cairo_);
}

void ImageContext::clipToRoundedRect(const Rect& rect, double cornerRadius) {
    roundedRectPath(rect, cornerRadius);
    cairo_clip(cairo_);
}

void ImageContext::maskToRoundedRect(const Rect& rect, double cornerRadius) {
    cairo_save(cairo_);
    roundedRectPath(rect, cornerRadius);
    cairo_set_operator(cairo_, CAIRO_OPERATOR_DEST_IN);
    cairo_set_source_rgba(cairo_, 0, 0, 0, 1);
    cairo_fill(cairo_);
    cairo_restore(cairo_);
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
    cairo_surface_flush(surface_);
    auto pixels = std::make_shared<PixelBuffer>();
    pixels->width = cairo_image_surface_get_width(surface_);
    pixels->height = cairo_image_surface_get_height(surface_);
    pixels->stride = cairo_image_surface_get_stride(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    std::size_t length = static_cast<std::size_t>(pixels->stride) * pixels->height;
    if (data)
        pixels->bytes.assign(data, data + length);
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
