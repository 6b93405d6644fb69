#include "uikit/TableView.h"

#include <algorithm>
#include <utility>

#include "foundation/Log.h"
#include "uikit/Button.h"
#include "uikit/Canvas.h"
#include "uikit/NibRegistry.h"
#include "uikit/TextPainter.h"

namespace uikit {

namespace {

constexpr const char* kTitleSupplementIdentifier = "TableView.titleSupplement";
constexpr double kPlainTitleHeight = 28;
constexpr double kGroupedTitleHeight = 38;
constexpr double kGroupedGap = 18;
// A header or footer lower than this is not shown (tables use 0.001 to mean "none").
constexpr double kSmallestSupplement = 1;
constexpr double kSwipeButtonWidth = 74;
// Measured row heights move the rows below; a few passes settle any screenful.
constexpr int kMaxTilingPasses = 8;
const Color kSeparatorColor = Color::fromBytes(200, 199, 204);
constexpr double kIndexTitleSize = 11;
constexpr double kIndexWidth = 15;

std::string describeIndexPath(const IndexPath& indexPath) {
    return "(" + std::to_string(indexPath.section) + ", " + std::to_string(indexPath.row) + ")";
}

bool contains(const std::vector<IndexPath>& list, const IndexPath& indexPath) {
    return std::binary_search(list.begin(), list.end(), indexPath);
}

void sortUnique(std::vector<IndexPath>& list) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

int countInSection(const std::vector<IndexPath>& list, int section) {
    return static_cast<int>(std::count_if(list.begin(), list.end(), [section](const IndexPath& ip) {
        return ip.section == section;
    }));
}

class FlagGuard {
  public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }

  private:
    bool& flag_;
};

}  // namespace

TableView::TableView(const Rect& frame, Style style) : ScrollView(frame), style_(style) {
    supplementPool_.registerBuilder(kTitleSupplementIdentifier, [] {
        return std::make_shared<TableViewHeaderFooterView>(kTitleSupplementIdentifier);
    });
}

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
    cellPool_.registerBuilder(identifier, [identifier, builder = std::move(builder)] {
        auto cell = builder ? builder() : nullptr;
        if (cell)
            cell->reuseIdentifier_ = identifier;
        return cell;
    });
}

void TableView::registerNib(const std::string& nibName, const std::string& identifier) {
    cellPool_.registerBuilder(
        identifier, [nibName, identifier]() -> std::shared_ptr<TableViewCell> {
            auto cell = std::dynamic_pointer_cast<TableViewCell>(
                NibRegistry::shared().instantiate(nibName));
            if (!cell) {
                foundation::logPlain("The nib \"" + nibName + "\" does not make a table view cell");
                return nullptr;
            }
            cell->reuseIdentifier_ = identifier;
            cell->awakeFromNib();
            return cell;
        });
}

void TableView::registerHeaderFooterView(const std::string& identifier,
                                         HeaderFooterBuilder builder) {
    supplementPool_.registerBuilder(identifier, [identifier, builder = std::move(builder)] {
        auto view = builder ? builder() : nullptr;
        if (view)
            view->reuseIdentifier_ = identifier;
        return view;
    });
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
    return supplementPool_.dequeue(identifier);
}

// The data

void TableView::reloadData() {
    needsReload_ = true;
    setNeedsLayout();
}

void TableView::reloadRows(const std::vector<IndexPath>& indexPaths, RowAnimation) {
    enqueueUpdates([&](Updates& updates) {
        updates.reloads.insert(updates.reloads.end(), indexPaths.begin(), indexPaths.end());
    });
}

void TableView::reloadSections(const std::vector<int>& sections, RowAnimation) {
    enqueueUpdates([&](Updates& updates) {
        updates.reloadedSections.insert(sections.begin(), sections.end());
    });
}

void TableView::insertRows(const std::vector<IndexPath>& indexPaths, RowAnimation) {
    enqueueUpdates([&](Updates& updates) {
        updates.insertions.insert(updates.insertions.end(), indexPaths.begin(), indexPaths.end());
    });
}

void TableView::deleteRows(const std::vector<IndexPath>& indexPaths, RowAnimation) {
    enqueueUpdates([&](Updates& updates) {
        updates.deletions.insert(updates.deletions.end(), indexPaths.begin(), indexPaths.end());
    });
}

void TableView::beginUpdates() {
    ++updateDepth_;
}

void TableView::endUpdates() {
    if (updateDepth_ == 0 || --updateDepth_ > 0)
        return;
    applyUpdates(std::exchange(pendingUpdates_, {}));
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
    std::vector<std::shared_ptr<TableViewCell>> cells;
    for (auto& [indexPath, cell] : visibleCells_)
        cells.push_back(cell);
    return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() {
    updateIfNeeded();
    double top = contentOffset().y;
    return geometry_.rowsBetween(top, top + bounds().height());
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) {
    updateIfNeeded();
    auto found = visibleCells_.find(indexPath);
    return found == visibleCells_.end() ? nullptr : found->second;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const {
    for (auto& [indexPath, visible] : visibleCells_)
        if (visible.get() == &cell)
            return indexPath;
    return std::nullopt;
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
    Rect row = geometry_.rectForRow(indexPath, bounds().width());
    double height = bounds().height();
    double y = contentOffset().y;
    switch (position) {
        case ScrollPosition::top:
            y = row.minY();
            break;
        case ScrollPosition::middle:
            y = row.midY() - height / 2;
            break;
        case ScrollPosition::bottom:
            y = row.maxY() - height;
            break;
        case ScrollPosition::none:
            if (row.minY() < y) {
                y = row.minY();
            } else if (row.maxY() > y + height) {
                y = row.maxY() - height;
            }
            break;
    }
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
        auto old = visibleCells_.find(*selected_);
        if (old != visibleCells_.end())
            old->second->setSelected(false, animated);
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
    auto found = visibleCells_.find(indexPath);
    if (found != visibleCells_.end())
        found->second->setSelected(false, animated);
}

// Look

void TableView::setRowHeight(double height) {
    rowHeight_ = height;
    reloadData();
}

void TableView::setEstimatedRowHeight(double height) {
    estimatedRowHeight_ = height;
    reloadData();
}

void TableView::setSectionHeaderHeight(double height) {
    sectionHeaderHeight_ = height;
    reloadData();
}

void TableView::setSectionFooterHeight(double height) {
    sectionFooterHeight_ = height;
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
    closeSwipeActions();
    needsTiling_ = true;
    setNeedsLayout();
}

// A line under each row (under the last row of a grouped section, across the whole width), and
// the section index along the trailing edge of what is in sight.
void TableView::drawOverSubviews(Canvas& canvas) {
    if (separatorStyle_ != SeparatorStyle::none) {
        Color color = separatorColor_.value_or(kSeparatorColor);
        double hairline = 1 / canvas.scale();
        for (const auto& [indexPath, cell] : visibleCells_) {
            if (cell->isHidden())
                continue;
            Rect frame = cell->frame();
            bool closesSection = style_ == Style::grouped &&
                                 indexPath.row + 1 == geometry_.numberOfRows(indexPath.section);
            EdgeInsets inset = closesSection ? EdgeInsets{} : cell->separatorInset();
            canvas.fill({frame.minX() + inset.left, frame.maxY() - hairline,
                         frame.width() - inset.left - inset.right, hairline},
                        color);
        }
    }
    drawSectionIndex(canvas);
}

void TableView::drawSectionIndex(Canvas& canvas) {
    if (sectionIndexTitles_.empty())
        return;
    Font font = Font::systemFont(kIndexTitleSize, FontWeight::semibold);
    double lineHeight = font.lineHeight();
    Rect visible = bounds();
    double top = visible.midY() - lineHeight * static_cast<double>(sectionIndexTitles_.size()) / 2;
    Color color = sectionIndexColor_.value_or(tintColor());
    for (const auto& title : sectionIndexTitles_) {
        TextPainter::drawLine(
            canvas, title, font, color,
            {{visible.maxX() - kIndexWidth, top}, kIndexWidth, TextAlignment::center});
        top += lineHeight;
    }
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
    closeSwipeActions();
    recycleAllCells();
    removeSupplements();
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
    tileSupplements(top, bottom);
    applyContentSize();
}

// Gives back the cells that left the strip, asks for the rows that came into it, and measures
// new rows of automatic height; true when a measurement moved rows, so the strip is tiled again.
bool TableView::tileRows(double top, double bottom) {
    auto rows = geometry_.rowsBetween(top, bottom);
    for (auto it = visibleCells_.begin(); it != visibleCells_.end();) {
        if (std::binary_search(rows.begin(), rows.end(), it->first)) {
            ++it;
            continue;
        }
        auto [indexPath, cell] = *it;
        it = visibleCells_.erase(it);
        recycleCell(indexPath, cell);
    }
    double width = bounds().width();
    bool moved = false;
    for (const auto& indexPath : rows) {
        if (visibleCells_.contains(indexPath))
            continue;
        auto cell = makeCell(indexPath);
        visibleCells_[indexPath] = cell;
        if (!hasAutomaticHeight(indexPath))
            continue;
        // A cell whose content measures nothing keeps the estimate rather than vanishing.
        double height = cell->sizeThatFits({width, 0}).height;
        if (height > 0 && height != geometry_.rectForRow(indexPath, width).height()) {
            geometry_.setRowHeight(indexPath, height);
            moved = true;
        }
    }
    for (auto& [indexPath, cell] : visibleCells_)
        cell->setFrame(geometry_.rectForRow(indexPath, width));
    return moved;
}

void TableView::tileSupplements(double top, double bottom) {
    double width = bounds().width();
    auto delegate = this->delegate();
    for (auto kind : {Supplement::header, Supplement::footer}) {
        auto& visible = kind == Supplement::header ? visibleHeaders_ : visibleFooters_;
        for (int section = 0; section < geometry_.numberOfSections(); ++section) {
            Rect rect = kind == Supplement::header ? geometry_.rectForHeader(section, width)
                                                   : geometry_.rectForFooter(section, width);
            bool show =
                rect.height() >= kSmallestSupplement && rect.maxY() > top && rect.minY() < bottom;
            auto found = visible.find(section);
            if (!show) {
                if (found != visible.end()) {
                    recycleSupplement(found->second);
                    visible.erase(found);
                }
                continue;
            }
            if (found != visible.end()) {
                found->second->setFrame(rect);
                continue;
            }
            auto view = makeSupplement(kind, section);
            if (!view)
                continue;
            view->setFrame(rect);
            insertInRowOrder(view);
            visible[section] = view;
            if (!delegate)
                continue;
            if (kind == Supplement::header) {
                delegate->willDisplayHeaderView(*this, *view, section);
            } else {
                delegate->willDisplayFooterView(*this, *view, section);
            }
        }
    }
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
    for (auto& [indexPath, cell] : std::exchange(visibleCells_, {}))
        recycleCell(indexPath, cell);
}

void TableView::recycleSupplement(const std::shared_ptr<View>& view) {
    view->removeFromSuperview();
    if (auto supplement = std::dynamic_pointer_cast<TableViewHeaderFooterView>(view))
        supplementPool_.enqueue(supplement->reuseIdentifier(), supplement);
}

void TableView::removeSupplements() {
    for (auto& [section, view] : std::exchange(visibleHeaders_, {}))
        recycleSupplement(view);
    for (auto& [section, view] : std::exchange(visibleFooters_, {}))
        recycleSupplement(view);
}

// Subviews stay in the order of their rows, so describe() reads the table top to bottom; the
// revealed swipe actions stay in front.
void TableView::insertInRowOrder(const std::shared_ptr<View>& view) {
    double y = view->frame().minY();
    for (const auto& subview : subviews()) {
        if (subview == view)
            continue;
        if (subview == swipeActionsView_ || subview->frame().minY() > y) {
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

// Heights and supplements

double TableView::resolvedRowHeight(const IndexPath& indexPath) {
    auto delegate = this->delegate();
    if (delegate) {
        if (auto height = delegate->heightForRowAtIndexPath(*this, indexPath);
            height && *height >= 0)
            return *height;
    }
    if (rowHeight_ >= 0)
        return rowHeight_;
    if (delegate) {
        if (auto estimate = delegate->estimatedHeightForRowAtIndexPath(*this, indexPath);
            estimate && *estimate > 0)
            return *estimate;
    }
    return estimatedRowHeight_ > 0 ? estimatedRowHeight_ : kDefaultRowHeight;
}

bool TableView::hasAutomaticHeight(const IndexPath& indexPath) {
    if (auto delegate = this->delegate()) {
        if (auto height = delegate->heightForRowAtIndexPath(*this, indexPath);
            height && *height >= 0)
            return false;
    }
    return rowHeight_ < 0;
}

TableViewGeometry::SectionHeights TableView::sectionHeights(int section, int rows) {
    TableViewGeometry::SectionHeights heights;
    heights.header = supplementHeight(Supplement::header, section);
    heights.rows.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
        heights.rows.push_back(resolvedRowHeight({section, row}));
    heights.footer = supplementHeight(Supplement::footer, section);
    return heights;
}

double TableView::supplementHeight(Supplement kind, int section) {
    auto delegate = this->delegate();
    bool header = kind == Supplement::header;
    if (delegate) {
        auto height = header ? delegate->heightForHeaderInSection(*this, section)
                             : delegate->heightForFooterInSection(*this, section);
        if (height && *height >= 0)
            return *height;
    }
    double configured = header ? sectionHeaderHeight_ : sectionFooterHeight_;
    if (auto title = supplementTitle(kind, section); title && !title->empty()) {
        if (configured >= 0)
            return configured;
        return style_ == Style::plain ? kPlainTitleHeight : kGroupedTitleHeight;
    }
    if (delegate) {
        auto view = header ? delegate->viewForHeaderInSection(*this, section)
                           : delegate->viewForFooterInSection(*this, section);
        if (view) {
            double height = configured >= 0 ? configured : view->frame().height();
            recycleSupplement(view);
            return height;
        }
    }
    return style_ == Style::grouped ? kGroupedGap : 0;
}

std::optional<std::string> TableView::supplementTitle(Supplement kind, int section) {
    auto dataSource = this->dataSource();
    if (!dataSource)
        return std::nullopt;
    return kind == Supplement::header ? dataSource->titleForHeaderInSection(*this, section)
                                      : dataSource->titleForFooterInSection(*this, section);
}

std::shared_ptr<View> TableView::makeSupplement(Supplement kind, int section) {
    std::shared_ptr<View> view;
    if (auto delegate = this->delegate()) {
        view = kind == Supplement::header ? delegate->viewForHeaderInSection(*this, section)
                                          : delegate->viewForFooterInSection(*this, section);
    }
    if (view)
        return view;
    auto title = supplementTitle(kind, section);
    if (!title || title->empty())
        return nullptr;
    auto titled = dequeueReusableHeaderFooterView(kTitleSupplementIdentifier);
    titled->textLabel()->setText(*title);
    return titled;
}

// Row changes

void TableView::enqueueUpdates(const std::function<void(Updates&)>& change) {
    change(pendingUpdates_);
    if (updateDepth_ == 0)
        applyUpdates(std::exchange(pendingUpdates_, {}));
}

void TableView::applyUpdates(const Updates& given) {
    if (given.empty() || needsReload_)
        return;
    auto keepAlive = weak_from_this().lock();
    Updates updates = given;
    sortUnique(updates.deletions);
    sortUnique(updates.insertions);
    sortUnique(updates.reloads);
    auto dataSource = this->dataSource();
    int sections = dataSource ? std::max(0, dataSource->numberOfSections(*this)) : 0;
    if (sections != geometry_.numberOfSections())
        return reloadAfterInconsistency("the number of sections changed from " +
                                        std::to_string(geometry_.numberOfSections()) + " to " +
                                        std::to_string(sections));
    std::vector<int> counts;
    for (int section = 0; section < sections; ++section)
        counts.push_back(std::max(0, dataSource->numberOfRowsInSection(*this, section)));
    if (auto problem = inconsistency(updates, counts))
        return reloadAfterInconsistency(*problem);

    closeSwipeActions();
    highlighted_.reset();
    double width = bounds().width();
    std::vector<TableViewGeometry::SectionHeights> heights(static_cast<std::size_t>(sections));
    for (int section = 0; section < sections; ++section) {
        auto& target = heights[section];
        target.header = supplementHeight(Supplement::header, section);
        target.footer = supplementHeight(Supplement::footer, section);
        target.rows.assign(static_cast<std::size_t>(counts[section]), -1);
        bool reloaded = updates.reloadedSections.contains(section);
        for (int row = 0; !reloaded && row < geometry_.numberOfRows(section); ++row) {
            IndexPath old{section, row};
            auto moved = mapRow(old, updates);
            if (moved && !contains(updates.reloads, old))
                target.rows[moved->row] = geometry_.rectForRow(old, width).height();
        }
        for (int row = 0; row < counts[section]; ++row)
            if (target.rows[row] < 0)
                target.rows[row] = resolvedRowHeight({section, row});
    }

    std::map<IndexPath, std::shared_ptr<TableViewCell>> kept;
    for (auto& [indexPath, cell] : std::exchange(visibleCells_, {})) {
        bool stale = updates.reloadedSections.contains(indexPath.section) ||
                     contains(updates.reloads, indexPath);
        auto moved = stale ? std::nullopt : mapRow(indexPath, updates);
        if (moved) {
            kept[*moved] = cell;
        } else {
            recycleCell(indexPath, cell);
        }
    }
    visibleCells_ = std::move(kept);
    if (selected_)
        selected_ = updates.reloadedSections.contains(selected_->section)
                        ? std::nullopt
                        : mapRow(*selected_, updates);
    removeSupplements();
    geometry_.reset(geometry_.tableHeaderHeight(), std::move(heights),
                    tableFooterView_ ? tableFooterView_->frame().height() : 0);
    applyContentSize();
    needsTiling_ = true;
    setNeedsLayout();
    updateIfNeeded();
}

std::optional<std::string> TableView::inconsistency(const Updates& updates,
                                                    const std::vector<int>& newCounts) const {
    int sections = static_cast<int>(newCounts.size());
    auto outside = [&](const std::vector<IndexPath>& list, bool before) {
        return std::any_of(list.begin(), list.end(), [&](const IndexPath& ip) {
            if (ip.section < 0 || ip.section >= sections || ip.row < 0)
                return true;
            return ip.row >= (before ? geometry_.numberOfRows(ip.section) : newCounts[ip.section]);
        });
    };
    if (outside(updates.deletions, true) || outside(updates.reloads, true) ||
        outside(updates.insertions, false))
        return "a changed row lies outside its section";
    for (int section = 0; section < sections; ++section) {
        if (updates.reloadedSections.contains(section))
            continue;
        int before = geometry_.numberOfRows(section);
        int deleted = countInSection(updates.deletions, section);
        int inserted = countInSection(updates.insertions, section);
        if (newCounts[section] != before - deleted + inserted)
            return "section " + std::to_string(section) + " had " + std::to_string(before) +
                   " rows, " + std::to_string(deleted) + " deleted and " +
                   std::to_string(inserted) + " inserted, but now has " +
                   std::to_string(newCounts[section]);
    }
    return std::nullopt;
}

// Deletions apply to the old rows, then insertions to the new ones.
std::optional<IndexPath> TableView::mapRow(const IndexPath& old, const Updates& updates) {
    if (contains(updates.deletions, old))
        return std::nullopt;
    int row = old.row;
    for (const auto& deleted : updates.deletions)
        if (deleted.section == old.section && deleted.row < old.row)
            --row;
    for (const auto& inserted : updates.insertions)
        if (inserted.section == old.section && inserted.row <= row)
            ++row;
    return IndexPath{old.section, row};
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
    if (swipedRow_) {
        // The first touch after a swipe only puts the actions away.
        closeSwipeActions();
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

std::shared_ptr<SwipeActionsConfiguration> TableView::swipeConfiguration(
    const IndexPath& indexPath) {
    auto dataSource = this->dataSource();
    if (!dataSource || !dataSource->canEditRowAtIndexPath(*this, indexPath))
        return nullptr;
    auto delegate = this->delegate();
    if (delegate) {
        if (auto configuration =
                delegate->trailingSwipeActionsConfigurationForRowAtIndexPath(*this, indexPath))
            return configuration;
    }
    auto style = delegate ? delegate->editingStyleForRowAtIndexPath(*this, indexPath)
                          : TableViewCell::EditingStyle::remove;
    if (style != TableViewCell::EditingStyle::remove)
        return nullptr;
    std::weak_ptr<View> weakSelf = weak_from_this();
    auto remove = ContextualAction::create(
        ContextualAction::Style::destructive, "Delete",
        [weakSelf, indexPath](ContextualAction&, ContextualAction::Completion done) {
            auto table = std::static_pointer_cast<TableView>(weakSelf.lock());
            auto source = table ? table->dataSource() : nullptr;
            if (source)
                source->commitEditingStyle(*table, TableViewCell::EditingStyle::remove, indexPath);
            done(source != nullptr);
        });
    return SwipeActionsConfiguration::create({remove});
}

bool TableView::revealSwipeActions(const IndexPath& indexPath) {
    updateIfNeeded();
    closeSwipeActions();
    if (!geometry_.contains(indexPath))
        return false;
    auto configuration = swipeConfiguration(indexPath);
    if (!configuration || configuration->actions().empty())
        return false;
    swipedRow_ = indexPath;
    swipeConfiguration_ = configuration;
    Rect row = geometry_.rectForRow(indexPath, bounds().width());
    const auto& actions = configuration->actions();
    double total = kSwipeButtonWidth * static_cast<double>(actions.size());
    swipeActionsView_ =
        std::make_shared<View>(Rect{row.maxX() - total, row.minY(), total, row.height()});
    std::weak_ptr<View> weakSelf = weak_from_this();
    for (std::size_t index = 0; index < actions.size(); ++index) {
        auto button = std::make_shared<Button>();
        button->setTitle(actions[index]->title());
        button->setTitleColor(Color::white());
        button->setBackgroundColor(actions[index]->backgroundColor());
        button->setFrame({total - kSwipeButtonWidth * static_cast<double>(index + 1), 0,
                          kSwipeButtonWidth, row.height()});
        button->addAction(
            [weakSelf, index](Control&) {
                if (auto table = std::static_pointer_cast<TableView>(weakSelf.lock()))
                    table->performSwipeAction(index);
            },
            ControlEvent::touchUpInside);
        swipeActionsView_->addSubview(button);
    }
    addSubview(swipeActionsView_);
    return true;
}

std::vector<std::shared_ptr<ContextualAction>> TableView::revealedSwipeActions() const {
    return swipeConfiguration_ ? swipeConfiguration_->actions()
                               : std::vector<std::shared_ptr<ContextualAction>>{};
}

std::shared_ptr<View> TableView::buttonForSwipeAction(const std::string& title) const {
    if (!swipeActionsView_)
        return nullptr;
    for (const auto& subview : swipeActionsView_->subviews()) {
        auto button = std::dynamic_pointer_cast<Button>(subview);
        if (button && button->currentTitle() == title)
            return button;
    }
    return nullptr;
}

void TableView::performSwipeAction(std::size_t index) {
    if (!swipeConfiguration_ || index >= swipeConfiguration_->actions().size())
        return;
    auto keepAlive = shared_from_this();
    auto action = swipeConfiguration_->actions()[index];
    auto row = swipedRow_;
    std::weak_ptr<View> weakSelf = weak_from_this();
    action->perform([weakSelf, row](bool) {
        auto table = std::static_pointer_cast<TableView>(weakSelf.lock());
        if (table && table->swipedRow_ == row)
            table->closeSwipeActions();
    });
}

void TableView::closeSwipeActions() {
    if (swipeActionsView_)
        swipeActionsView_->removeFromSuperview();
    swipeActionsView_.reset();
    swipeConfiguration_.reset();
    swipedRow_.reset();
}

}  // namespace uikit
