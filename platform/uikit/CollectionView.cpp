#include "uikit/CollectionView.h"

#include <algorithm>
#include <utility>

#include "foundation/Log.h"

namespace uikit {

CollectionView::CollectionView(const Rect& frame, std::shared_ptr<CollectionViewFlowLayout> layout)
    : ScrollView(frame),
      layout_(layout ? std::move(layout) : std::make_shared<CollectionViewFlowLayout>()) {}

void CollectionView::setDataSource(std::weak_ptr<CollectionViewDataSource> dataSource) {
    dataSource_ = std::move(dataSource);
    reloadData();
}

void CollectionView::setDelegate(std::weak_ptr<CollectionViewDelegate> delegate) {
    delegate_ = delegate;
    ScrollView::setDelegate(std::move(delegate));
    needsTiling_ = true;
    setNeedsLayout();
}

void CollectionView::registerCell(const std::string& identifier, CellBuilder builder) {
    cellPool_.registerBuilder(identifier, std::move(builder));
}

void CollectionView::registerNib(const std::string& nibName, const std::string& identifier) {
    cellPool_.registerNib(nibName, identifier, "collection view cell");
}

std::shared_ptr<CollectionViewCell> CollectionView::dequeueReusableCell(
    const std::string& identifier, const IndexPath& indexPath) {
    auto cell = cellPool_.dequeue(identifier);
    if (!cell) {
        foundation::logPlain("No collection view cell is registered for the reuse identifier \"" +
                             identifier + "\"");
        return nullptr;
    }
    if (layout_->contains(indexPath))
        cell->setFrame(layout_->frameForItem(indexPath));
    return cell;
}

void CollectionView::reloadData() {
    needsReload_ = true;
    setNeedsLayout();
}

int CollectionView::numberOfSections() {
    updateIfNeeded();
    return static_cast<int>(itemCounts_.size());
}

int CollectionView::numberOfItemsInSection(int section) {
    updateIfNeeded();
    if (section < 0 || section >= static_cast<int>(itemCounts_.size()))
        return 0;
    return itemCounts_[section];
}

std::vector<std::shared_ptr<CollectionViewCell>> CollectionView::visibleCells() {
    updateIfNeeded();
    return visibleCells_.cells();
}

std::vector<IndexPath> CollectionView::indexPathsForVisibleItems() {
    updateIfNeeded();
    return layout_->itemsInRect(bounds());
}

std::shared_ptr<CollectionViewCell> CollectionView::cellForItemAtIndexPath(
    const IndexPath& indexPath) {
    updateIfNeeded();
    return visibleCells_.find(indexPath);
}

std::optional<IndexPath> CollectionView::indexPathForCell(const CollectionViewCell& cell) const {
    return visibleCells_.indexPathOf(cell);
}

std::optional<IndexPath> CollectionView::indexPathForItemAtPoint(Point point) {
    updateIfNeeded();
    for (const auto& indexPath : layout_->itemsInRect({point.x, point.y, 1e-9, 1e-9}))
        if (layout_->frameForItem(indexPath).contains(point))
            return indexPath;
    return std::nullopt;
}

void CollectionView::scrollToItem(const IndexPath& indexPath,
                                  CollectionViewScrollPositions position, bool animated) {
    updateIfNeeded();
    if (!layout_->contains(indexPath))
        return;
    Rect item = layout_->frameForItem(indexPath);
    Size size = bounds().size;
    Point offset = contentOffset();
    if (position & CollectionViewScrollPosition::left)
        offset.x = item.minX();
    if (position & CollectionViewScrollPosition::centeredHorizontally)
        offset.x = item.midX() - size.width / 2;
    if (position & CollectionViewScrollPosition::right)
        offset.x = item.maxX() - size.width;
    if (position & CollectionViewScrollPosition::top)
        offset.y = item.minY();
    if (position & CollectionViewScrollPosition::centeredVertically)
        offset.y = item.midY() - size.height / 2;
    if (position & CollectionViewScrollPosition::bottom)
        offset.y = item.maxY() - size.height;
    Point low = minimumContentOffset();
    Point high = maximumContentOffset();
    offset.x = std::clamp(offset.x, low.x, std::max(low.x, high.x));
    offset.y = std::clamp(offset.y, low.y, std::max(low.y, high.y));
    setContentOffset(offset, animated);
}

void CollectionView::selectItem(std::optional<IndexPath> indexPath, bool animated,
                                CollectionViewScrollPositions position) {
    updateIfNeeded();
    if (selected_ && selected_ != indexPath)
        deselectItem(*selected_, animated);
    if (!indexPath || !layout_->contains(*indexPath))
        return;
    selected_ = indexPath;
    if (position != CollectionViewScrollPosition::none)
        scrollToItem(*indexPath, position, animated);
    if (auto cell = cellForItemAtIndexPath(*indexPath))
        cell->setSelected(true);
}

void CollectionView::deselectItem(const IndexPath& indexPath, bool) {
    if (selected_ != indexPath)
        return;
    selected_.reset();
    if (auto cell = visibleCells_.find(indexPath))
        cell->setSelected(false);
}

void CollectionView::layoutSubviews() {
    needsTiling_ = true;
    updateIfNeeded();
}

void CollectionView::contentOffsetDidChange() {
    needsTiling_ = true;
    setNeedsLayout();
}

void CollectionView::updateIfNeeded() {
    if (updating_ || (!needsReload_ && !needsTiling_))
        return;
    auto keepAlive = weak_from_this().lock();
    updating_ = true;
    if (needsReload_) {
        needsReload_ = false;
        for (const auto& [indexPath, cell] : visibleCells_.takeAll())
            recycleCell(indexPath, cell);
        selected_.reset();
        auto dataSource = this->dataSource();
        int sections = dataSource ? std::max(0, dataSource->numberOfSections(*this)) : 0;
        itemCounts_.clear();
        for (int section = 0; section < sections; ++section)
            itemCounts_.push_back(std::max(0, dataSource->numberOfItemsInSection(*this, section)));
    }
    tile();
    updating_ = false;
}

// The layout is prepared on every pass, so items follow the collection's current size.
void CollectionView::tile() {
    needsTiling_ = false;
    layout_->prepare(*this, itemCounts_);
    if (contentSize() != layout_->contentSize())
        setContentSize(layout_->contentSize());
    auto items = layout_->itemsInRect(bounds());
    std::sort(items.begin(), items.end());
    visibleCells_.sweep(
        items,
        [this](const IndexPath& indexPath, CollectionViewCell& cell) {
            cell.setFrame(layout_->frameForItem(indexPath));
        },
        [this](const IndexPath& indexPath, const auto& cell) { recycleCell(indexPath, cell); });
    for (const auto& indexPath : items)
        if (!visibleCells_.contains(indexPath))
            visibleCells_.add(indexPath, makeCell(indexPath));
}

std::shared_ptr<CollectionViewCell> CollectionView::makeCell(const IndexPath& indexPath) {
    auto dataSource = this->dataSource();
    auto cell = dataSource ? dataSource->cellForItemAtIndexPath(*this, indexPath) : nullptr;
    if (!cell) {
        foundation::logPlain("The collection's data source gave no cell for item " +
                             std::to_string(indexPath.row) + " of section " +
                             std::to_string(indexPath.section) + "; an empty cell stands in");
        cell = std::make_shared<CollectionViewCell>();
    }
    cell->collectionView_ = std::static_pointer_cast<CollectionView>(shared_from_this());
    cell->setFrame(layout_->frameForItem(indexPath));
    if (cell->isSelected() != (selected_ == indexPath))
        cell->setSelected(selected_ == indexPath);
    addSubview(cell);
    if (auto delegate = this->delegate())
        delegate->willDisplayCell(*this, *cell, indexPath);
    return cell;
}

void CollectionView::recycleCell(const IndexPath& indexPath,
                                 const std::shared_ptr<CollectionViewCell>& cell) {
    cell->removeFromSuperview();
    if (auto delegate = this->delegate())
        delegate->didEndDisplayingCell(*this, *cell, indexPath);
    cellPool_.enqueue(cell->reuseIdentifier(), cell);
}

void CollectionView::cellTapped(CollectionViewCell& cell) {
    auto indexPath = indexPathForCell(cell);
    if (!indexPath)
        return;
    auto keepAlive = shared_from_this();
    auto delegate = this->delegate();
    if (delegate && !delegate->shouldSelectItemAtIndexPath(*this, *indexPath))
        return;
    if (selected_ && selected_ != indexPath) {
        auto previous = *selected_;
        deselectItem(previous, false);
        if (delegate)
            delegate->didDeselectItemAtIndexPath(*this, previous);
    }
    selectItem(*indexPath, false, CollectionViewScrollPosition::none);
    if (delegate)
        delegate->didSelectItemAtIndexPath(*this, *indexPath);
}

}  // namespace uikit
