#pragma once

#include <memory>

#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/View.h"

namespace corvane {

// The parts the cell nibs are made of, each placed at a frame in its parent; labels and
// separators stretch with the parent's width.
class KSCellViews {
  public:
    static std::shared_ptr<uikit::Label> label(uikit::View& parent, const uikit::Rect& frame,
                                               const uikit::Font& font,
                                               const uikit::Color& color = uikit::Color::black(),
                                               int lines = 1);
    static std::shared_ptr<uikit::ImageView> imageView(uikit::View& parent,
                                                       const uikit::Rect& frame);
    // A hairline along the bottom of the parent from x to its trailing edge.
    static std::shared_ptr<uikit::View> separator(uikit::View& parent, double x);
    static std::shared_ptr<uikit::View> view(uikit::View& parent, const uikit::Rect& frame);
};

}  // namespace corvane
