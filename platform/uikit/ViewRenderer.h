#pragma once

#include <memory>
#include <string>

#include "foundation/Result.h"
#include "uikit/Canvas.h"
#include "uikit/Image.h"
#include "uikit/View.h"

namespace uikit {

// Draws a view and what it contains as a person would see it: each view over its superview, in
// subview order, with its background, its own drawing (View::draw), corner radius, border and
// alpha. Hidden and transparent views draw nothing, nor does anything inside them; a view that
// clips to its bounds keeps its subviews inside them; what lies outside the clip is not drawn.
class ViewRenderer {
  public:
    // The view, laid out first, at the size of its bounds and the scale (0: the main screen's),
    // as the view alone: its position, transform and superviews play no part. Transparent where
    // nothing is drawn.
    static std::shared_ptr<Image> imageOfView(View& view, double scale = 0);
    // The same image as a PNG file, written atomically.
    static foundation::Status writePNG(View& view, const std::string& path, double scale = 0);
    // Draws the view onto the canvas, whose coordinates are taken as the view's bounds'.
    static void drawView(View& view, Canvas& canvas);

  private:
    static void drawSubview(View& view, Canvas& canvas);
    static void drawLayer(View& view, Canvas& canvas);
    static bool isDrawn(const View& view);
};

}  // namespace uikit
