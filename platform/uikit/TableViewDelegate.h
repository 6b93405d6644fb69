#pragma once

#include <memory>
#include <optional>

#include "uikit/Geometry.h"
#include "uikit/ScrollViewDelegate.h"
#include "uikit/SwipeActionsConfiguration.h"
#include "uikit/TableViewCell.h"
#include "uikit/View.h"

namespace uikit {

class TableView;

// Told of the table's look and of what the person does with it; also its scroll view's
// delegate. Every method is optional. A height of nullopt (or TableView::automaticDimension)
// leaves the choice to the table.
class TableViewDelegate : public ScrollViewDelegate {
  public:
    virtual std::optional<double> heightForRowAtIndexPath(TableView& tableView,
                                                          const IndexPath& indexPath) {
        return std::nullopt;
    }
    virtual std::optional<double> estimatedHeightForRowAtIndexPath(TableView& tableView,
                                                                   const IndexPath& indexPath) {
        return std::nullopt;
    }
    // Below one point (0.001 by custom) there is no header or footer.
    virtual std::optional<double> heightForHeaderInSection(TableView& tableView, int section) {
        return std::nullopt;
    }
    virtual std::optional<double> heightForFooterInSection(TableView& tableView, int section) {
        return std::nullopt;
    }
    virtual std::shared_ptr<View> viewForHeaderInSection(TableView& tableView, int section) {
        return nullptr;
    }
    virtual std::shared_ptr<View> viewForFooterInSection(TableView& tableView, int section) {
        return nullptr;
    }

    virtual void willDisplayCell(TableView& tableView, TableViewCell& cell,
                                 const IndexPath& indexPath) {}
    virtual void willDisplayHeaderView(TableView& tableView, View& view, int section) {}
    virtual void willDisplayFooterView(TableView& tableView, View& view, int section) {}
    virtual void didEndDisplayingCell(TableView& tableView, TableViewCell& cell,
                                      const IndexPath& indexPath) {}

    // A touch on a row that may not highlight selects nothing either.
    virtual bool shouldHighlightRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
        return true;
    }
    // The row to select instead, or nullopt to select none.
    virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView& tableView,
                                                              const IndexPath& indexPath) {
        return indexPath;
    }
    virtual void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {}
    virtual void didDeselectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {}

    virtual TableViewCell::EditingStyle editingStyleForRowAtIndexPath(TableView& tableView,
                                                                      const IndexPath& indexPath) {
        return TableViewCell::EditingStyle::remove;
    }
    // The actions a swipe from the trailing edge reveals; without them an editable row whose
    // editing style is remove offers "Delete", which commits the deletion to the data source.
    virtual std::shared_ptr<SwipeActionsConfiguration>
    trailingSwipeActionsConfigurationForRowAtIndexPath(TableView& tableView,
                                                       const IndexPath& indexPath) {
        return nullptr;
    }
};

}  // namespace uikit
