#include "uikit/TableViewRowHeights.h"

#include "uikit/TableViewDelegate.h"

namespace uikit {

TableViewRowHeights::TableViewRowHeights(TableView& table,
                                         const std::weak_ptr<TableViewDelegate>& delegate)
    : table_(table), delegate_(delegate) {}

double TableViewRowHeights::height(const IndexPath& indexPath) const {
    auto delegate = delegate_.lock();
    if (delegate) {
        if (auto height = delegate->heightForRowAtIndexPath(table_, indexPath);
            height && *height >= 0)
            return *height;
    }
    if (rowHeight_ >= 0)
        return rowHeight_;
    if (delegate) {
        if (auto estimate = delegate->estimatedHeightForRowAtIndexPath(table_, indexPath);
            estimate && *estimate > 0)
            return *estimate;
    }
    return estimatedRowHeight_ > 0 ? estimatedRowHeight_ : kDefaultRowHeight;
}

bool TableViewRowHeights::isAutomatic(const IndexPath& indexPath) const {
    if (auto delegate = delegate_.lock()) {
        if (auto height = delegate->heightForRowAtIndexPath(table_, indexPath);
            height && *height >= 0)
            return false;
    }
    return rowHeight_ < 0;
}

}  // namespace uikit
