#pragma once

#include <memory>

#include "uikit/Geometry.h"

namespace uikit {

class TableView;
class TableViewDelegate;

// The heights of a table's rows: the delegate's for the row, else the table's row height, else
// an automatic height, measured when the row shows and estimated until then by the delegate's
// estimate, the table's or the default. The table is only named to its delegate.
class TableViewRowHeights {
  public:
    static constexpr double kDefaultRowHeight = 44;

    TableViewRowHeights(TableView& table, const std::weak_ptr<TableViewDelegate>& delegate);

    // Negative for automatic heights.
    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height) { rowHeight_ = height; }
    double estimatedRowHeight() const { return estimatedRowHeight_; }
    void setEstimatedRowHeight(double height) { estimatedRowHeight_ = height; }

    // The height, or the estimate of an automatic one.
    double height(const IndexPath& indexPath) const;
    bool isAutomatic(const IndexPath& indexPath) const;

  private:
    TableView& table_;
    const std::weak_ptr<TableViewDelegate>& delegate_;
    double rowHeight_ = -1;
    double estimatedRowHeight_ = -1;
};

}  // namespace uikit
