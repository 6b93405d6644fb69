#pragma once

#include <optional>
#include <vector>

#include "uikit/Color.h"
#include "uikit/Geometry.h"
#include "uikit/Image.h"

typedef struct _cairo cairo_t;

namespace uikit {

enum class ContentMode;

// Drawing in points onto a Cairo context that someone else owns (an ImageContext, the renderer
// of a view tree). Every change of the transform, the clip or a layer begun lasts until the
// matching restore() or endLayer().
class Canvas {
  public:
    explicit Canvas(cairo_t* cairo) : cairo_(cairo) {}

    cairo_t* cairo() const { return cairo_; }
    // Pixels per point of the surface drawn into.
    double scale() const;

    void save();
    void restore();
    void translate(double x, double y);
    void concat(const AffineTransform& transform);
    void clipToRect(const Rect& rect, double cornerRadius = 0);
    // Whether anything drawn inside the rectangle could show within the clip.
    bool isVisible(const Rect& rect) const;
    // What is drawn until endLayer() is composed as one, at the alpha.
    void beginLayer();
    void endLayer(double alpha);

    void clear();
    void fill(const Rect& rect, const Color& color, double cornerRadius = 0);
    void fillEllipse(const Rect& rect, const Color& color);
    // A line of the width along the inside of the rectangle's edge, as a layer's border.
    void strokeInside(const Rect& rect, double width, const Color& color, double cornerRadius = 0);
    void strokeEllipse(const Rect& rect, double width, const Color& color);
    void strokeLines(const std::vector<Point>& points, double width, const Color& color);
    // Makes the pixels outside the rounded rectangle transparent.
    void maskToRoundedRect(const Rect& rect, double cornerRadius);

    // The image scaled into the rectangle; a template image in the tint (the system blue
    // without one).
    void drawImage(const Image& image, const Rect& rect,
                   const std::optional<Color>& tint = std::nullopt);
    // The image placed in the bounds as a view's content mode places it.
    void drawImage(const Image& image, const Rect& bounds, ContentMode mode,
                   const std::optional<Color>& tint);
    // Where the content mode puts content of the size within the bounds.
    static Rect placeContent(Size content, const Rect& bounds, ContentMode mode);

  private:
    void roundedRectPath(const Rect& rect, double cornerRadius);
    void ellipsePath(const Rect& rect);
    void setSource(const Color& color);

    cairo_t* cairo_;
};

}  // namespace uikit
