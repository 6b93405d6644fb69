#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/CollectionViewCell.h"
#include "uikit/CollectionViewDataSource.h"
#include "uikit/CollectionViewDelegate.h"
#include "uikit/CollectionViewFlowLayout.h"
#include "uikit/ReusePool.h"
#include "uikit/ScrollView.h"
#include "uikit/VisibleCells.h"

namespace uikit {

using CollectionViewScrollPositions = std::uint32_t;
struct CollectionViewScrollPosition {
    static constexpr CollectionViewScrollPositions none = 0;
    static constexpr CollectionViewScrollPositions top = 1u << 0;
    static constexpr CollectionViewScrollPositions centeredVertically = 1u << 1;
    static constexpr CollectionViewScrollPositions bottom = 1u << 2;
    static constexpr CollectionViewScrollPositions left = 1u << 3;
    static constexpr CollectionViewScrollPositions centeredHorizontally = 1u << 4;
    static constexpr CollectionViewScrollPositions right = 1u << 5;
};

// A scrolling set of items placed by a flow layout. Like the table, it asks its data source at
// the next layout pass, has cells only for the items in sight and hands scrolled-away cells out
// again after prepareForReuse.
class CollectionView : public ScrollView {
  public:
    using CellBuilder = std::function<std::shared_ptr<CollectionViewCell>()>;

    CollectionView(const Rect& frame, std::shared_ptr<CollectionViewFlowLayout> layout);

    const std::shared_ptr<CollectionViewFlowLayout>& collectionViewLayout() const {
        return layout_;
    }
    std::shared_ptr<CollectionViewDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(std::weak_ptr<CollectionViewDataSource> dataSource);
    // Also the scroll view's delegate.
    std::shared_ptr<CollectionViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<CollectionViewDelegate> delegate);

    void registerCell(const std::string& identifier, CellBuilder builder);
    void registerNib(const std::string& nibName, const std::string& identifier);
    // A waiting cell, else a new one; null (and logged) for an unregistered identifier.
    std::shared_ptr<CollectionViewCell> dequeueReusableCell(const std::string& identifier,
                                                            const IndexPath& indexPath);

    void reloadData();
    int numberOfSections();
    int numberOfItemsInSection(int section);

    std::vector<std::shared_ptr<CollectionViewCell>> visibleCells();
    std::vector<IndexPath> indexPathsForVisibleItems();
    // Null for an item out of sight.
    std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(const IndexPath& indexPath);
    std::optional<IndexPath> indexPathForCell(const CollectionViewCell& cell) const;
    std::optional<IndexPath> indexPathForItemAtPoint(Point point);
    void scrollToItem(const IndexPath& indexPath, CollectionViewScrollPositions position,
                      bool animated);

    // Selection from code tells the delegate nothing.
    std::optional<IndexPath> indexPathForSelectedItem() const { return selected_; }
    void selectItem(std::optional<IndexPath> indexPath, bool animated,
                    CollectionViewScrollPositions position);
    void deselectItem(const IndexPath& indexPath, bool animated);

    void layoutSubviews() override;

  protected:
    void contentOffsetDidChange() override;
    std::string describeSelf() const override { return "CollectionView"; }

  private:
    friend class CollectionViewCell;
    void updateIfNeeded();
    void tile();
    void recycleCell(const IndexPath& indexPath, const std::shared_ptr<CollectionViewCell>& cell);
    std::shared_ptr<CollectionViewCell> makeCell(const IndexPath& indexPath);
    void cellTapped(CollectionViewCell& cell);

    std::shared_ptr<CollectionViewFlowLayout> layout_;
    std::weak_ptr<CollectionViewDataSource> dataSource_;
    std::weak_ptr<CollectionViewDelegate> delegate_;
    ReusePool<CollectionViewCell> cellPool_;
    std::vector<int> itemCounts_;
    bool needsReload_ = true;
    bool needsTiling_ = true;
    bool updating_ = false;
    VisibleCells<CollectionViewCell> visibleCells_;
    std::optional<IndexPath> selected_;
};

}  // namespace uikit
