#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "uikit/TableView.h"
#include "uikit/Window.h"

namespace corvane::testing {

// A list on screen whose rows a test fills as a list screen does: each row dequeues a cell of
// the registered nib and hands it, with the row's identifier, to the fill function.
class CellTable : public uikit::TableViewDataSource {
  public:
    using Fill = std::function<void(uikit::TableViewCell& cell, const std::string& identifier)>;

    static std::shared_ptr<CellTable> make(const std::string& nibName,
                                           const std::string& reuseIdentifier, double rowHeight,
                                           Fill fill) {
        auto list = std::make_shared<CellTable>(reuseIdentifier, std::move(fill));
        list->table_->registerNib(nibName, reuseIdentifier);
        list->table_->setRowHeight(rowHeight);
        list->table_->setDataSource(list);
        list->window_->addSubview(list->table_);
        list->window_->makeKeyAndVisible();
        return list;
    }
    CellTable(std::string reuseIdentifier, Fill fill)
        : reuseIdentifier_(std::move(reuseIdentifier)), fill_(std::move(fill)) {}

    // Shows these identifiers, one row each, reusing the cells already made.
    void show(std::vector<std::string> identifiers) {
        rows_ = std::move(identifiers);
        table_->reloadData();
        table_->layoutIfNeeded();
    }
    std::shared_ptr<uikit::TableViewCell> cell(int row) {
        return table_->cellForRowAtIndexPath(uikit::IndexPath::forRow(row, 0));
    }
    template <typename Cell>
    std::shared_ptr<Cell> cellAs(int row) {
        return std::dynamic_pointer_cast<Cell>(cell(row));
    }
    const std::shared_ptr<uikit::TableView>& table() const { return table_; }

    int numberOfRowsInSection(uikit::TableView&, int) override {
        return static_cast<int>(rows_.size());
    }
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& table, const uikit::IndexPath& indexPath) override {
        auto cell = table.dequeueReusableCell(reuseIdentifier_, indexPath);
        fill_(*cell, rows_.at(static_cast<std::size_t>(indexPath.row)));
        return cell;
    }

  private:
    std::string reuseIdentifier_;
    Fill fill_;
    std::vector<std::string> rows_;
    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::TableView> table_ =
        std::make_shared<uikit::TableView>(uikit::Rect{0, 20, 375, 600});
};

}  // namespace corvane::testing
