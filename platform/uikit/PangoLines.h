#pragma once

#include <cstddef>
#include <vector>

#include "uikit/AttributedString.h"
#include "uikit/Font.h"

namespace uikit {

// The lines Pango makes of a short stretch of text (see PangoText). Pango keeps positions in 32-bit
// integers of 1/1024 point, which a few hundred kilobytes on one line overflow: callers lay long
// text out a stretch at a time.
class PangoLines {
  public:
    struct Line {
        std::size_t start = 0;  // byte offset into the stretch
        double right = 0;       // right edge, indent included
        double height = 0;
        double left = 0;  // where the line's text starts, indent included
    };

    // wrapWidth 0: each paragraph on one line. The first line of each paragraph starts
    // firstIndent in, the others headIndent.
    static std::vector<Line> layOut(const AttributedString& text, const Font& defaultFont,
                                    double wrapWidth, double firstIndent, double headIndent,
                                    LineBreakMode mode);
    // The right edge of the text's first line, starting indent in, when what does not fit on it
    // is cut off as the truncating mode says.
    static double truncatedLineRight(const AttributedString& text, const Font& defaultFont,
                                     double wrapWidth, double indent, LineBreakMode mode);
};

}  // namespace uikit
