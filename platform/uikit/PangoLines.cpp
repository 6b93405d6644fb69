#include "uikit/PangoLines.h"

#include <pango/pangocairo.h>

#include <algorithm>

#include "uikit/PangoText.h"

namespace uikit {

namespace {

std::vector<PangoLines::Line> linesOf(PangoLayout* layout, double left) {
    std::vector<PangoLines::Line> lines;
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        auto start = pango_layout_iter_get_line_readonly(iter)->start_index;
        double lineLeft = left + PangoText::points(logical.x);
        lines.push_back({static_cast<std::size_t>(start),
                         lineLeft + PangoText::points(logical.width),
                         PangoText::points(logical.height), lineLeft});
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    return lines;
}

}  // namespace

std::vector<PangoLines::Line> PangoLines::layOut(const AttributedString& text,
                                                 const Font& defaultFont, double wrapWidth,
                                                 double firstIndent, double headIndent,
                                                 LineBreakMode mode) {
    PangoText::Layout layout = PangoText::makeLayout(text, defaultFont);
    if (wrapWidth <= 0)
        return linesOf(layout.get(), firstIndent);
    // Pango indents the first line of each paragraph, or with a negative indent all the others.
    double left = std::min(firstIndent, headIndent);
    PangoText::wrap(layout.get(), wrapWidth - left, mode);
    pango_layout_set_indent(layout.get(), PangoText::units(firstIndent - headIndent));
    return linesOf(layout.get(), left);
}

double PangoLines::truncatedLineRight(const AttributedString& text, const Font& defaultFont,
                                      double wrapWidth, double indent, LineBreakMode mode) {
    PangoText::Layout layout = PangoText::makeLayout(text, defaultFont);
    PangoText::wrap(layout.get(), wrapWidth - indent, mode);
    PangoText::truncateToOneLine(layout.get(), mode);
    return linesOf(layout.get(), indent).front().right;
}

}  // namespace uikit
