#pragma once

#include "uikit/AttributedString.h"
#include "uikit/Font.h"

namespace uikit {

// Lays text out with Pango on a per-thread font map (Pango's maps must not be shared between
// threads), one point to one unit.
class TextLayout {
  public:
    struct Metrics {
        Size size;
        int lineCount = 0;     // lines shown, within the limit
        int naturalLines = 0;  // lines the text would take without a limit
    };

    // maxWidth 0: no wrapping; maxLines 0: no limit.
    static Metrics measure(const AttributedString& text, const Font& defaultFont, double maxWidth,
                           int maxLines, LineBreakMode mode);
    static bool hasFamily(const std::string& family);
};

}  // namespace uikit
