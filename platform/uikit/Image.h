#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/Color.h"
#include "uikit/Geometry.h"

typedef struct _cairo_surface cairo_surface_t;

namespace uikit {

enum class ImageRenderingMode { automatic, alwaysOriginal, alwaysTemplate };

// Pixels in Cairo's ARGB32 layout (premultiplied, native-endian 32-bit words), never changed
// once made, so images may be shared between threads.
struct PixelBuffer {
    // What an image surface holds, flushed first; no bytes when it has no data (a surface in
    // error, or one of no pixels).
    static std::shared_ptr<PixelBuffer> copyOf(cairo_surface_t* surface);

    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<std::uint8_t> bytes;
};

// An immutable bitmap with a scale (pixels per point) and, when loaded from the bundle, a name.
class Image {
  public:
    using Bytes = std::vector<std::uint8_t>;

    // Decoding refuses images of more pixels than this (a hostile file must not exhaust memory).
    static constexpr std::int64_t kMaxPixels = 40'000'000;

    // An image of the bundle's resources by name, with or without ".png"/".jpg"; "@2x"/"@3x"
    // variants are found too. Nothing when there is no such readable image.
    static std::shared_ptr<Image> named(const std::string& name);
    // Decodes PNG or JPEG data; nothing when the data is neither or is too large.
    static std::shared_ptr<Image> fromData(const Bytes& data, double scale = 1.0);
    static std::shared_ptr<Image> fromFile(const std::string& path);
    // An image of no pixels and size zero.
    static std::shared_ptr<Image> empty();
    // An image of the size (points, at the screen's scale) filled with the colour.
    static std::shared_ptr<Image> withColor(const Color& color, Size size = {1, 1});
    static std::shared_ptr<Image> fromPixels(std::shared_ptr<const PixelBuffer> pixels,
                                             double scale);

    // Size in points.
    Size size() const;
    double scale() const { return scale_; }
    int pixelWidth() const { return pixels_->width; }
    int pixelHeight() const { return pixels_->height; }
    const std::string& name() const { return name_; }
    ImageRenderingMode renderingMode() const { return renderingMode_; }
    bool isTemplate() const { return renderingMode_ == ImageRenderingMode::alwaysTemplate; }
    // A copy sharing these pixels, drawn in the given mode.
    std::shared_ptr<Image> withRenderingMode(ImageRenderingMode mode) const;
    const PixelBuffer& pixels() const { return *pixels_; }
    std::shared_ptr<const PixelBuffer> sharedPixels() const { return pixels_; }

    // The colour of one pixel (not premultiplied); clear outside the image.
    Color pixelAt(int x, int y) const;
    // PNG file data; nothing for an empty image.
    std::optional<Bytes> pngData() const;

    // "install" for a named image, else "image WxH".
    std::string describe() const;

    Image(std::shared_ptr<const PixelBuffer> pixels, double scale, std::string name = {});

  private:
    std::shared_ptr<const PixelBuffer> pixels_;
    double scale_ = 1;
    std::string name_;
    ImageRenderingMode renderingMode_ = ImageRenderingMode::automatic;
};

}  // namespace uikit
