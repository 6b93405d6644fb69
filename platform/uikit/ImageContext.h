#pragma once

#include <memory>
#include <optional>

#include "uikit/Canvas.h"
#include "uikit/Color.h"
#include "uikit/Geometry.h"
#include "uikit/Image.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace uikit {

// A bitmap to draw into, in points at a scale, on any thread (one context per thread at a time).
class ImageContext {
  public:
    // scale 0 means the main screen's scale.
    explicit ImageContext(Size size, bool opaque = false, double scale = 0);
    ~ImageContext();
    ImageContext(const ImageContext&) = delete;
    ImageContext& operator=(const ImageContext&) = delete;

    Size size() const { return size_; }
    double scale() const { return scale_; }
    // For drawing beyond the few operations below.
    Canvas& canvas() { return canvas_; }

    void clear();
    void fill(const Rect& rect, const Color& color);
    void fillAll(const Color& color) { fill({{0, 0}, size_}, color); }
    // Draws the image scaled into the rectangle; a template image is drawn in the tint colour.
    void drawImage(const Image& image, const Rect& rect,
                   const std::optional<Color>& tint = std::nullopt);
    // Limits later drawing to a rounded rectangle.
    void clipToRoundedRect(const Rect& rect, double cornerRadius);
    // Makes the pixels outside the rounded rectangle transparent.
    void maskToRoundedRect(const Rect& rect, double cornerRadius);

    // Pixel coordinates; clear outside.
    Color pixelAt(int x, int y) const;
    // The mean of all pixels (not premultiplied, weighted by alpha; clear when all transparent).
    Color meanColor() const;
    std::shared_ptr<Image> makeImage() const;

  private:
    Size size_;
    double scale_ = 1;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cairo_ = nullptr;
    Canvas canvas_{nullptr};
};

}  // namespace uikit
