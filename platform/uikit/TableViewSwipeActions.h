#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/Geometry.h"
#include "uikit/SwipeActionsConfiguration.h"
#include "uikit/TableViewGeometry.h"
#include "uikit/View.h"

namespace uikit {

class TableView;
class TableViewDataSource;
class TableViewDelegate;

// The buttons a swipe reveals along a row's trailing edge, one for each action the delegate
// offers (by default a Delete that commits the removal to the data source), the first nearest
// the edge. A tapped button runs its action, whose completion puts the buttons away unless
// another row's have been revealed since. Only editable rows offer actions. The table is only
// named to its data source and delegate. Held by std::shared_ptr (std::make_shared).
class TableViewSwipeActions : public std::enable_shared_from_this<TableViewSwipeActions> {
  public:
    static constexpr double kButtonWidth = 74;

    TableViewSwipeActions(TableView& table, const std::weak_ptr<TableViewDataSource>& dataSource,
                          const std::weak_ptr<TableViewDelegate>& delegate);

    // Puts away what was revealed before, then shows the row's actions in the host (the table)
    // where the geometry has the row; false for a row that is not there or offers none.
    bool reveal(View& host, const TableViewGeometry& geometry, const IndexPath& row);
    void close();

    const std::optional<IndexPath>& row() const { return row_; }
    std::vector<std::shared_ptr<ContextualAction>> actions() const;
    // The strip of buttons while the actions are shown, else null.
    const std::shared_ptr<View>& view() const { return view_; }
    // The button of the action of that title; null when it is not shown.
    std::shared_ptr<View> buttonForAction(const std::string& title) const;

  private:
    std::shared_ptr<SwipeActionsConfiguration> configurationFor(const IndexPath& row);
    std::shared_ptr<ContextualAction> deleteAction(const IndexPath& row);
    void showButtons(View& host, const Rect& rowRect);
    void perform(std::size_t index);

    TableView& table_;
    const std::weak_ptr<TableViewDataSource>& dataSource_;
    const std::weak_ptr<TableViewDelegate>& delegate_;
    std::weak_ptr<View> host_;
    std::optional<IndexPath> row_;
    std::shared_ptr<SwipeActionsConfiguration> configuration_;
    std::shared_ptr<View> view_;
};

}  // namespace uikit
