#include "uikit/TextPainter.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <vector>

#include "uikit/PangoText.h"

namespace uikit {

namespace {

struct Piece {
    PangoText::Layout layout;
    double x = 0;
    double width = 0;
};

bool isTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// What a fragment shows: a line without the spaces and the line break it ends with, or the
// rest of a paragraph cut to one line.
std::optional<Piece> pieceOf(const AttributedString& text, const TextLayout::Fragment& fragment,
                             const Font& defaultFont, LineBreakMode mode) {
    TextRange range = fragment.range;
    if (!fragment.truncatedWidth) {
        const std::string& string = text.string();
        while (range.length > 0 && isTrailingSpace(string[range.end() - 1]))
            --range.length;
    }
    if (range.length == 0)
        return std::nullopt;
    Piece piece{PangoText::makeLayout(text.substring(range), defaultFont, true), fragment.x};
    if (fragment.truncatedWidth) {
        PangoText::wrap(piece.layout.get(), *fragment.truncatedWidth, mode);
        PangoText::truncateToOneLine(piece.layout.get(), mode);
    }
    PangoRectangle logical;
    pango_layout_line_get_extents(pango_layout_get_line_readonly(piece.layout.get(), 0), nullptr,
                                  &logical);
    piece.width = PangoText::points(logical.x + logical.width);
    return piece;
}

double alignmentShift(TextAlignment alignment, double lineWidth, double boxWidth) {
    switch (alignment) {
        case TextAlignment::center:
            return (boxWidth - lineWidth) / 2;
        case TextAlignment::right:
            return boxWidth - lineWidth;
        default:
            return 0;
    }
}

TextAlignment paragraphAlignment(const AttributedString& text, std::size_t position,
                                 TextAlignment fallback) {
    auto style = text.attributesAt(position).paragraphStyle;
    return style ? style->alignment : fallback;
}

}  // namespace

void TextPainter::draw(Canvas& canvas, const AttributedString& text,
                       const TextLayout::Placement& placement, const Font& defaultFont,
                       const Color& defaultColor, const Box& box) {
    cairo_t* cr = canvas.cairo();
    auto fragment = placement.fragments.begin();
    for (std::size_t index = 0; index < placement.lines.size(); ++index) {
        const TextLayout::Line& line = placement.lines[index];
        auto end = std::find_if(fragment, placement.fragments.end(),
                                [index](const auto& f) { return f.line != index; });
        Rect band{box.origin.x - 1e9, box.origin.y + line.top, 2e9, line.height};
        if (fragment == end || !canvas.isVisible(band)) {
            fragment = end;
            continue;
        }
        std::vector<Piece> pieces;
        double lineWidth = 0;
        TextAlignment alignment = paragraphAlignment(text, fragment->range.location, box.alignment);
        for (; fragment != end; ++fragment) {
            if (auto piece = pieceOf(text, *fragment, defaultFont, placement.mode)) {
                lineWidth = std::max(lineWidth, piece->x + piece->width);
                pieces.push_back(std::move(*piece));
            }
        }
        double shift = alignmentShift(alignment, lineWidth, box.width);
        for (const Piece& piece : pieces) {
            double baseline = PangoText::points(pango_layout_get_baseline(piece.layout.get()));
            cairo_set_source_rgba(cr, defaultColor.red(), defaultColor.green(), defaultColor.blue(),
                                  defaultColor.alpha());
            cairo_move_to(cr, box.origin.x + shift + piece.x, box.origin.y + line.top + baseline);
            pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(piece.layout.get(), 0));
        }
    }
}

void TextPainter::drawLine(Canvas& canvas, const std::string& text, const Font& font,
                           const Color& color, const Box& box) {
    AttributedString string(text);
    auto placement = TextLayout::place(string, font, std::max(1.0, box.width), 1,
                                       LineBreakMode::byTruncatingTail);
    draw(canvas, string, placement, font, color, box);
}

}  // namespace uikit
