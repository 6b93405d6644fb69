#pragma once

#include <optional>

#include "foundation/URL.h"
#include "uikit/Canvas.h"
#include "uikit/Geometry.h"

namespace webkit {

// What a web view shows where a browser engine would draw the page: no page runs here, so a plain
// panel names the address instead.
class WebPlaceholder {
  public:
    // The panel, under what the web view contains.
    static void drawPanel(uikit::Canvas& canvas, const uikit::Rect& bounds);
    // The address, over it, centred; a long one takes a few lines and is then cut.
    static void drawAddress(uikit::Canvas& canvas, const uikit::Rect& bounds,
                            const std::optional<foundation::URL>& url);
};

}  // namespace webkit
