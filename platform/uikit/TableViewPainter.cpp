#include "uikit/TableViewPainter.h"

#include "uikit/Font.h"
#include "uikit/TextPainter.h"

namespace uikit {

namespace {

const Color kSeparatorColor = Color::fromBytes(200, 199, 204);
constexpr double kIndexTitleSize = 11;
constexpr double kIndexWidth = 15;

}  // namespace

void TableViewPainter::drawSeparators(Canvas& canvas, const VisibleCells<TableViewCell>& cells,
                                      const TableViewGeometry& geometry, bool grouped,
                                      const std::optional<Color>& color) {
    Color lineColor = color.value_or(kSeparatorColor);
    double hairline = 1 / canvas.scale();
    for (const auto& [indexPath, cell] : cells.byIndexPath()) {
        if (cell->isHidden())
            continue;
        Rect frame = cell->frame();
        bool closesSection =
            grouped && indexPath.row + 1 == geometry.numberOfRows(indexPath.section);
        EdgeInsets inset = closesSection ? EdgeInsets{} : cell->separatorInset();
        canvas.fill({frame.minX() + inset.left, frame.maxY() - hairline,
                     frame.width() - inset.left - inset.right, hairline},
                    lineColor);
    }
}

void TableViewPainter::drawSectionIndex(Canvas& canvas, const std::vector<std::string>& titles,
                                        const Rect& visible, const Color& color) {
    Font font = Font::systemFont(kIndexTitleSize, FontWeight::semibold);
    double lineHeight = font.lineHeight();
    double top = visible.midY() - lineHeight * static_cast<double>(titles.size()) / 2;
    for (const auto& title : titles) {
        TextPainter::drawLine(
            canvas, title, font, color,
            {{visible.maxX() - kIndexWidth, top}, kIndexWidth, TextAlignment::center});
        top += lineHeight;
    }
}

}  // namespace uikit
