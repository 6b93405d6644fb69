#pragma once

#include "uikit/AttributedString.h"
#include "uikit/Canvas.h"
#include "uikit/Font.h"
#include "uikit/TextLayout.h"

namespace uikit {

// Draws text where TextLayout placed it, so that what is drawn takes the room that was measured.
// Only the lines within the canvas's clip are drawn.
class TextPainter {
  public:
    struct Box {
        Point origin;  // the top left of the first line
        // The width paragraphs are aligned in.
        double width = 0;
        // For paragraphs whose style sets none (natural is the leading edge).
        TextAlignment alignment = TextAlignment::natural;
    };

    // Runs without a font or colour of their own take the defaults.
    static void draw(Canvas& canvas, const AttributedString& text,
                     const TextLayout::Placement& placement, const Font& defaultFont,
                     const Color& defaultColor, const Box& box);
    // Placed and drawn on one line from the origin, cut with an ellipsis where the width ends.
    static void drawLine(Canvas& canvas, const std::string& text, const Font& font,
                         const Color& color, const Box& box);
};

}  // namespace uikit
