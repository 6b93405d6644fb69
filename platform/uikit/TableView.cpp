#include "uikit/TableView.h"

#include <algorithm>
#include <utility>

#include "foundation/Log.h"
#include "uikit/TableViewPainter.h"

namespace uikit {

namespace {

// Measured row heights move the rows below; a few passes settle any screenful.
constexpr int kMaxTilingPasses = 8;

std::string describeIndexPath(const IndexPath& indexPath) {
    return "(" + std::to_string(indexPath.section) + ", " + std::to_string(indexPath.row) + ")";
}

class FlagGuard {
  public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }

  private:
    bool& flag_;
};

}  // namespace

TableView::TableView(const Rect& frame, Style style) : ScrollView(frame), style_(style) {}

void TableView::setDataSource(std::weak_ptr<TableViewDataSource> dataSource) {
    dataSource_ = std::move(dataSource);
    reloadData();
}

void TableView::setDelegate(std::weak_ptr<TableViewDelegate> delegate) {
    delegate_ = delegate;
    ScrollView::setDelegate(std::move(delegate));
    reloadData();
}

// Registration and reuse

void TableView::registerCell(const std::string& identifier, CellBuilder builder) {
    cellPool_.registerBuilder(identifier, std::move(builder));
}

void TableView::registerNib(const std::string& nibName, const std::string& identifier) {
    cellPool_.registerNib(nibName, identifier, "table view cell");
}

void TableView::registerHeaderFooterView(const std::string& identifier,
                                         HeaderFooterBuilder builder) {
    supplements_.registerBuilder(identifier, std::move(builder));
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCell(const std::string& identifier) {
    return cellPool_.dequeue(identifier);
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCell(const std::string& identifier,
                                                              const IndexPath& indexPath) {
    auto cell = cellPool_.dequeue(identifier);
    if (!cell) {
        foundation::logPlain("No cell is registered for the reuse identifier \"" + identifier +
                             "\"");
        return nullptr;
    }
    if (geometry_.contains(indexPath))
        cell->setFrame(geometry_.rectForRow(indexPath, bounds().width()));
    return cell;
}

std::shared_ptr<TableViewHeaderFooterView> TableView::dequeueReusableHeaderFooterView(
    const std::string& identifier) {
    return supplements_.dequeue(identifier);
}

// The data

void TableView::reloadData() {
    needsReload_ = true;
    setNeedsLayout();
}

void TableView::reloadRows(const std::vector<IndexPath>& indexPaths, RowAnimation) {
    pendingUpdates_.reloadRows(indexPaths);
    applyUpdatesUnlessBatched();
}

void TableView::reloadSections(const std::vector<int>& sections, RowAnimation) {
    pendingUpdates_.reloadSections(sections);
    applyUpdatesUnlessBatched();
}

void TableView::insertRows(const std::vector<IndexPath>& indexPaths, RowAnimation) {
    pendingUpdates_.insertRows(indexPaths);
    applyUpdatesUnlessBatched();
}

void TableView::deleteRows(const std::vector<IndexPath>& indexPaths, RowAnimation) {
    pendingUpdates_.deleteRows(indexPaths);
    applyUpdatesUnlessBatched();
}

void TableView::beginUpdates() {
    ++updateDepth_;
}

void TableView::endUpdates() {
    if (updateDepth_ == 0 || --updateDepth_ > 0)
        return;
    applyUpdatesUnlessBatched();
}

int TableView::numberOfSections() {
    updateIfNeeded();
    return geometry_.numberOfSections();
}

int TableView::numberOfRowsInSection(int section) {
    updateIfNeeded();
    return geometry_.numberOfRows(section);
}

// What is on screen

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() {
    updateIfNeeded();
    return visibleCells_.cells();
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() {
    updateIfNeeded();
    double top = contentOffset().y;
    return geometry_.rowsBetween(top, top + bounds().height());
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) {
    updateIfNeeded();
    return visibleCells_.find(indexPath);
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const {
    return visibleCells_.indexPathOf(cell);
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) {
    updateIfNeeded();
    IndexPath found;
    if (!geometry_.rowAt(point.y, found))
        return std::nullopt;
    return found;
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) {
    updateIfNeeded();
    return geometry_.rectForRow(indexPath, bounds().width());
}

void TableView::scrollToRowAtIndexPath(const IndexPath& indexPath, ScrollPosition position,
                                       bool animated) {
    updateIfNeeded();
    if (!geometry_.contains(indexPath))
        return;
    double y = geometry_.topShowingRow(indexPath, position, contentOffset().y, bounds().height());
    y = std::clamp(y, minimumContentOffset().y,
                   std::max(minimumContentOffset().y, maximumContentOffset().y));
    setContentOffset({contentOffset().x, y}, animated);
}

// Selection

void TableView::selectRow(std::optional<IndexPath> indexPath, bool animated,
                          ScrollPosition position) {
    updateIfNeeded();
    if (!indexPath) {
        if (selected_)
            deselectRow(*selected_, animated);
        return;
    }
    if (!geometry_.contains(*indexPath))
        return;
    if (selected_ && *selected_ != *indexPath) {
        if (auto old = visibleCells_.find(*selected_))
            old->setSelected(false, animated);
    }
    selected_ = indexPath;
    if (position != ScrollPosition::none)
        scrollToRowAtIndexPath(*indexPath, position, animated);
    if (auto cell = cellForRowAtIndexPath(*indexPath))
        cell->setSelected(true, animated);
}

void TableView::deselectRow(const IndexPath& indexPath, bool animated) {
    if (selected_ != indexPath)
        return;
    selected_.reset();
    if (auto cell = visibleCells_.find(indexPath))
        cell->setSelected(false, animated);
}

// Look

void TableView::setRowHeight(double height) {
    rowHeights_.setRowHeight(height);
    reloadData();
}

void TableView::setEstimatedRowHeight(double height) {
    rowHeights_.setEstimatedRowHeight(height);
    reloadData();
}

void TableView::setSectionHeaderHeight(double height) {
    supplements_.setConfiguredHeight(Supplement::header, height);
    reloadData();
}

void TableView::setSectionFooterHeight(double height) {
    supplements_.setConfiguredHeight(Supplement::footer, height);
    reloadData();
}

void TableView::setTableHeaderView(std::shared_ptr<View> view) {
    if (tableHeaderView_)
        tableHeaderView_->removeFromSuperview();
    tableHeaderView_ = std::move(view);
    if (tableHeaderView_)
        insertSubview(tableHeaderView_, 0);
    geometry_.setTableHeaderHeight(tableHeaderView_ ? tableHeaderView_->frame().height() : 0);
    needsTiling_ = true;
    setNeedsLayout();
}

void TableView::setTableFooterView(std::shared_ptr<View> view) {
    if (tableFooterView_)
        tableFooterView_->removeFromSuperview();
    tableFooterView_ = std::move(view);
    if (tableFooterView_)
        addSubview(tableFooterView_);
    geometry_.setTableFooterHeight(tableFooterView_ ? tableFooterView_->frame().height() : 0);
    needsTiling_ = true;
    setNeedsLayout();
}

void TableView::layoutSubviews() {
    needsTiling_ = true;
    updateIfNeeded();
}

void TableView::contentOffsetDidChange() {
    swipeActions_->close();
    needsTiling_ = true;
    setNeedsLayout();
}

void TableView::drawOverSubviews(Canvas& canvas) {
    if (separatorStyle_ != SeparatorStyle::none)
        TableViewPainter::drawSeparators(canvas, visibleCells_, geometry_, style_ == Style::grouped,
                                         separatorColor_);
    if (!sectionIndexTitles_.empty())
        TableViewPainter::drawSectionIndex(canvas, sectionIndexTitles_, bounds(),
                                           sectionIndexColor_.value_or(tintColor()));
}

std::string TableView::describeSelf() const {
    return style_ == Style::grouped ? "TableView grouped" : "TableView";
}

// Reloading and tiling

void TableView::updateIfNeeded() {
    if (updating_)
        return;
    auto keepAlive = weak_from_this().lock();
    FlagGuard guard(updating_);
    ensureSwipeRecognizer();
    if (needsReload_)
        reloadNow();
    if (needsTiling_)
        tile();
}

void TableView::reloadNow() {
    needsReload_ = false;
    swipeActions_->close();
    recycleAllCells();
    supplements_.recycleAll();
    selected_.reset();
    highlighted_.reset();
    auto dataSource = this->dataSource();
    int sections = dataSource ? std::max(0, dataSource->numberOfSections(*this)) : 0;
    std::vector<TableViewGeometry::SectionHeights> heights;
    heights.reserve(static_cast<std::size_t>(sections));
    for (int section = 0; section < sections; ++section)
        heights.push_back(sectionHeights(
            section, std::max(0, dataSource->numberOfRowsInSection(*this, section))));
    sectionIndexTitles_ =
        dataSource ? dataSource->sectionIndexTitles(*this) : std::vector<std::string>{};
    geometry_.reset(tableHeaderView_ ? tableHeaderView_->frame().height() : 0, std::move(heights),
                    tableFooterView_ ? tableFooterView_->frame().height() : 0);
    applyContentSize();
    needsTiling_ = true;
}

void TableView::tile() {
    needsTiling_ = false;
    double top = contentOffset().y;
    double bottom = top + bounds().height();
    placeTableHeaderAndFooter();
    for (int pass = 0; pass < kMaxTilingPasses && tileRows(top, bottom); ++pass) {
    }
    supplements_.tile(geometry_, bounds().width(), top, bottom,
                      [this](const std::shared_ptr<View>& view) { insertInRowOrder(view); });
    applyContentSize();
}

// Gives back the cells that left the strip, asks for the rows that came into it, and measures
// new rows of automatic height; true when a measurement moved rows, so the strip is tiled again.
bool TableView::tileRows(double top, double bottom) {
    auto rows = geometry_.rowsBetween(top, bottom);
    visibleCells_.sweep(
        rows, [](const IndexPath&, TableViewCell&) {},
        [this](const IndexPath& indexPath, const auto& cell) { recycleCell(indexPath, cell); });
    double width = bounds().width();
    bool moved = false;
    for (const auto& indexPath : rows) {
        if (visibleCells_.contains(indexPath))
            continue;
        auto cell = makeCell(indexPath);
        visibleCells_.add(indexPath, cell);
        if (!rowHeights_.isAutomatic(indexPath))
            continue;
        // A cell whose content measures nothing keeps the estimate rather than vanishing.
        double height = cell->sizeThatFits({width, 0}).height;
        if (height > 0 && height != geometry_.rectForRow(indexPath, width).height()) {
            geometry_.setRowHeight(indexPath, height);
            moved = true;
        }
    }
    for (const auto& [indexPath, cell] : visibleCells_.byIndexPath())
        cell->setFrame(geometry_.rectForRow(indexPath, width));
    return moved;
}

void TableView::placeTableHeaderAndFooter() {
    double width = bounds().width();
    if (tableHeaderView_)
        tableHeaderView_->setFrame({0, 0, width, geometry_.tableHeaderHeight()});
    if (tableFooterView_)
        tableFooterView_->setFrame(
            {0, geometry_.tableFooterTop(), width, tableFooterView_->frame().height()});
}

void TableView::applyContentSize() {
    Size size{bounds().width(), geometry_.contentHeight()};
    if (contentSize() != size)
        setContentSize(size);
}

std::shared_ptr<TableViewCell> TableView::makeCell(const IndexPath& indexPath) {
    auto dataSource = this->dataSource();
    auto cell = dataSource ? dataSource->cellForRowAtIndexPath(*this, indexPath) : nullptr;
    if (!cell) {
        foundation::logPlain("The table's data source gave no cell for the row " +
                             describeIndexPath(indexPath) + "; an empty cell stands in");
        cell = std::make_shared<TableViewCell>();
    }
    cell->table_ = std::static_pointer_cast<TableView>(shared_from_this());
    cell->setFrame(geometry_.rectForRow(indexPath, bounds().width()));
    bool selected = selected_ == indexPath;
    if (cell->isSelected() != selected)
        cell->setSelected(selected, false);
    insertInRowOrder(cell);
    if (auto delegate = this->delegate())
        delegate->willDisplayCell(*this, *cell, indexPath);
    return cell;
}

void TableView::recycleCell(const IndexPath& indexPath,
                            const std::shared_ptr<TableViewCell>& cell) {
    cell->removeFromSuperview();
    if (cell->isHighlighted())
        cell->setHighlighted(false, false);
    if (auto delegate = this->delegate())
        delegate->didEndDisplayingCell(*this, *cell, indexPath);
    cellPool_.enqueue(cell->reuseIdentifier(), cell);
}

void TableView::recycleAllCells() {
    for (const auto& [indexPath, cell] : visibleCells_.takeAll())
        recycleCell(indexPath, cell);
}

// Subviews stay in the order of their rows, so describe() reads the table top to bottom; the
// revealed swipe actions stay in front.
void TableView::insertInRowOrder(const std::shared_ptr<View>& view) {
    double y = view->frame().minY();
    for (const auto& subview : subviews()) {
        if (subview == view)
            continue;
        if (subview == swipeActions_->view() || subview->frame().minY() > y) {
            insertSubviewBelow(view, subview.get());
            return;
        }
    }
    addSubview(view);
}

void TableView::ensureSwipeRecognizer() {
    if (swipeRecognizer_)
        return;
    std::weak_ptr<View> weakSelf = weak_from_this();
    swipeRecognizer_ =
        std::make_shared<SwipeGestureRecognizer>([weakSelf](GestureRecognizer& recognizer) {
            auto table = std::static_pointer_cast<TableView>(weakSelf.lock());
            if (!table || recognizer.state() != GestureRecognizer::recognized)
                return;
            if (auto row = table->indexPathForRowAtPoint(recognizer.locationInView(table.get())))
                table->revealSwipeActions(*row);
        });
    swipeRecognizer_->setDirection(SwipeDirection::left);
    addGestureRecognizer(swipeRecognizer_);
}

TableViewGeometry::SectionHeights TableView::sectionHeights(int section, int rows) {
    TableViewGeometry::SectionHeights heights;
    heights.header = supplements_.height(Supplement::header, section);
    heights.rows.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
        heights.rows.push_back(rowHeights_.height({section, row}));
    heights.footer = supplements_.height(Supplement::footer, section);
    return heights;
}

// Row changes

void TableView::applyUpdatesUnlessBatched() {
    if (updateDepth_ == 0)
        applyUpdates(std::exchange(pendingUpdates_, {}));
}

void TableView::applyUpdates(const TableViewUpdates& updates) {
    if (updates.empty() || needsReload_)
        return;
    auto keepAlive = weak_from_this().lock();
    auto counts = newRowCounts();
    if (auto problem = updates.inconsistency(geometry_.rowCounts(), counts))
        return reloadAfterInconsistency(*problem);
    swipeActions_->close();
    highlighted_.reset();
    auto heights = heightsAfter(updates, counts);
    moveVisibleCells(updates);
    supplements_.recycleAll();
    geometry_.reset(geometry_.tableHeaderHeight(), std::move(heights),
                    tableFooterView_ ? tableFooterView_->frame().height() : 0);
    applyContentSize();
    needsTiling_ = true;
    setNeedsLayout();
    updateIfNeeded();
}

// The rows of each section are not asked for when the sections themselves changed: the updates
// refuse that change whatever the rows.
std::vector<int> TableView::newRowCounts() {
    auto dataSource = this->dataSource();
    int sections = dataSource ? std::max(0, dataSource->numberOfSections(*this)) : 0;
    std::vector<int> counts(static_cast<std::size_t>(sections), 0);
    if (sections != geometry_.numberOfSections())
        return counts;
    for (int section = 0; section < sections; ++section)
        counts[section] = std::max(0, dataSource->numberOfRowsInSection(*this, section));
    return counts;
}

// Rows that stay keep their heights; new and reloaded rows are asked for theirs.
std::vector<TableViewGeometry::SectionHeights> TableView::heightsAfter(
    const TableViewUpdates& updates, const std::vector<int>& counts) {
    double width = bounds().width();
    std::vector<TableViewGeometry::SectionHeights> heights(counts.size());
    for (int section = 0; section < static_cast<int>(counts.size()); ++section) {
        auto& target = heights[section];
        target.header = supplements_.height(Supplement::header, section);
        target.footer = supplements_.height(Supplement::footer, section);
        target.rows.assign(static_cast<std::size_t>(counts[section]), -1);
        for (int row = 0; row < geometry_.numberOfRows(section); ++row)
            if (auto kept = updates.keptIndexPath({section, row}))
                target.rows[kept->row] = geometry_.rectForRow({section, row}, width).height();
        for (int row = 0; row < counts[section]; ++row)
            if (target.rows[row] < 0)
                target.rows[row] = rowHeights_.height({section, row});
    }
    return heights;
}

void TableView::moveVisibleCells(const TableViewUpdates& updates) {
    VisibleCells<TableViewCell>::Map kept;
    for (const auto& [indexPath, cell] : visibleCells_.takeAll()) {
        if (auto moved = updates.keptIndexPath(indexPath)) {
            kept[*moved] = cell;
        } else {
            recycleCell(indexPath, cell);
        }
    }
    visibleCells_.replaceAll(std::move(kept));
    if (selected_)
        selected_ = updates.newIndexPath(*selected_);
}

void TableView::reloadAfterInconsistency(const std::string& reason) {
    foundation::logPlain("Invalid table update: " + reason + "; the table reloads all its data");
    needsReload_ = true;
    setNeedsLayout();
    updateIfNeeded();
}

// Touches and swipes

void TableView::cellTouchBegan(TableViewCell& cell) {
    auto indexPath = indexPathForCell(cell);
    if (!indexPath)
        return;
    if (swipeActions_->row()) {
        // The first touch after a swipe only puts the actions away.
        swipeActions_->close();
        return;
    }
    auto delegate = this->delegate();
    if (delegate && !delegate->shouldHighlightRowAtIndexPath(*this, *indexPath))
        return;
    highlighted_ = indexPath;
    cell.setHighlighted(true, false);
}

void TableView::cellTouchEnded(TableViewCell& cell, bool inside) {
    auto indexPath = indexPathForCell(cell);
    auto highlighted = std::exchange(highlighted_, std::nullopt);
    if (!indexPath || highlighted != indexPath)
        return;
    cell.setHighlighted(false, false);
    if (inside)
        selectRowAsTapped(*indexPath);
}

void TableView::selectRowAsTapped(const IndexPath& indexPath) {
    auto keepAlive = shared_from_this();
    auto delegate = this->delegate();
    std::optional<IndexPath> target = indexPath;
    if (delegate)
        target = delegate->willSelectRowAtIndexPath(*this, indexPath);
    if (!target || !geometry_.contains(*target))
        return;
    if (selected_ && *selected_ != *target) {
        auto previous = *selected_;
        deselectRow(previous, false);
        if (delegate)
            delegate->didDeselectRowAtIndexPath(*this, previous);
    }
    selectRow(*target, false, ScrollPosition::none);
    if (delegate)
        delegate->didSelectRowAtIndexPath(*this, *target);
}

bool TableView::revealSwipeActions(const IndexPath& indexPath) {
    updateIfNeeded();
    return swipeActions_->reveal(*this, geometry_, indexPath);
}

}  // namespace uikit
