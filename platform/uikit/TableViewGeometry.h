#pragma once

#include <vector>

#include "uikit/Geometry.h"

namespace uikit {

// Where scrolling brings a row in sight. Raw values as the system numbers them.
enum class TableViewScrollPosition { none = 0, top = 1, middle = 2, bottom = 3 };

// Where every part of a table lies, from top to bottom: the table header, then per section its
// header, rows and footer, then the table footer. Lookups of the rows in a strip are binary
// searches, so a table of tens of thousands of rows tiles in a few steps.
class TableViewGeometry {
  public:
    struct SectionHeights {
        double header = 0;
        std::vector<double> rows;
        double footer = 0;
    };

    void reset(double tableHeader, std::vector<SectionHeights> sections, double tableFooter);
    void setRowHeight(const IndexPath& indexPath, double height);
    void setTableHeaderHeight(double height);
    void setTableFooterHeight(double height);

    int numberOfSections() const { return static_cast<int>(sections_.size()); }
    int numberOfRows(int section) const;
    std::vector<int> rowCounts() const;
    bool contains(const IndexPath& indexPath) const;

    double contentHeight() const { return contentHeight_; }
    double tableHeaderHeight() const { return tableHeader_; }
    // The table footer's top edge.
    double tableFooterTop() const { return contentHeight_ - tableFooter_; }
    Rect rectForRow(const IndexPath& indexPath, double width) const;
    Rect rectForHeader(int section, double width) const;
    Rect rectForFooter(int section, double width) const;
    // Rows that overlap the strip [top, bottom), in order.
    std::vector<IndexPath> rowsBetween(double top, double bottom) const;
    // The row under a point, if any.
    bool rowAt(double y, IndexPath& found) const;
    // The top of a strip of the height that shows the row at the position; for none, the strip
    // at the top given, moved the least that shows the row whole.
    double topShowingRow(const IndexPath& indexPath, TableViewScrollPosition position, double top,
                         double height) const;

  private:
    struct Section {
        SectionHeights heights;
        double top = 0;
        std::vector<double> rowTops;
        double footerTop = 0;
        double bottom = 0;
    };
    void recompute(int fromSection);

    double tableHeader_ = 0;
    double tableFooter_ = 0;
    std::vector<Section> sections_;
    double contentHeight_ = 0;
};

}  // namespace uikit
