#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/Geometry.h"
#include "uikit/TableViewCell.h"

namespace uikit {

class TableView;

// What a table shows. Only the row count and the cells are required.
class TableViewDataSource {
  public:
    virtual ~TableViewDataSource() = default;

    virtual int numberOfSections(TableView& tableView) { return 1; }
    virtual int numberOfRowsInSection(TableView& tableView, int section) = 0;
    // Usually a cell dequeued from the table by its reuse identifier.
    virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                                 const IndexPath& indexPath) = 0;
    virtual std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section) {
        return std::nullopt;
    }
    virtual std::optional<std::string> titleForFooterInSection(TableView& tableView, int section) {
        return std::nullopt;
    }
    // The letters of the index beside the table.
    virtual std::vector<std::string> sectionIndexTitles(TableView& tableView) { return {}; }
    // A row swipes (to its actions or to delete) only when its data source allows editing it.
    // The default is no: the system decides by which methods a data source implements, which
    // a C++ class cannot show.
    virtual bool canEditRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
        return false;
    }
    virtual void commitEditingStyle(TableView& tableView, TableViewCell::EditingStyle style,
                                    const IndexPath& indexPath) {}
};

}  // namespace uikit
