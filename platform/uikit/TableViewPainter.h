#pragma once

#include <optional>
#include <string>
#include <vector>

#include "uikit/Canvas.h"
#include "uikit/Color.h"
#include "uikit/TableViewCell.h"
#include "uikit/TableViewGeometry.h"
#include "uikit/VisibleCells.h"

namespace uikit {

// What a table draws over its rows: the separators and the section index.
class TableViewPainter {
  public:
    // A hairline under each visible row, within the cell's separator inset; under the last row
    // of a grouped section it runs the whole width. Light grey unless a colour is given.
    static void drawSeparators(Canvas& canvas, const VisibleCells<TableViewCell>& cells,
                               const TableViewGeometry& geometry, bool grouped,
                               const std::optional<Color>& color);
    // The titles one under another, centred on the trailing edge of what is in sight.
    static void drawSectionIndex(Canvas& canvas, const std::vector<std::string>& titles,
                                 const Rect& visible, const Color& color);
};

}  // namespace uikit
