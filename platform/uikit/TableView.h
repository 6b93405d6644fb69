#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/ReusePool.h"
#include "uikit/ScrollView.h"
#include "uikit/SwipeActionsConfiguration.h"
#include "uikit/SwipeGestureRecognizer.h"
#include "uikit/TableViewCell.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"
#include "uikit/TableViewGeometry.h"
#include "uikit/TableViewHeaderFooterView.h"
#include "uikit/TableViewRowHeights.h"
#include "uikit/TableViewSupplements.h"
#include "uikit/TableViewSwipeActions.h"
#include "uikit/TableViewUpdates.h"
#include "uikit/VisibleCells.h"

namespace uikit {

// A scrolling list of rows in sections. As on the system, the data source is asked at the next
// layout pass, not when reloadData is called; asking what is visible (visibleCells,
// cellForRowAtIndexPath, ...) lays out first. Only the rows in sight have cells: a row that
// scrolls away gives its cell back to the reuse pool, and a later dequeue hands out that same
// cell after prepareForReuse.
class TableView : public ScrollView {
  public:
    // Raw values as the system numbers them.
    enum class Style { plain = 0, grouped = 1 };
    enum class SeparatorStyle { none = 0, singleLine = 1 };
    using ScrollPosition = TableViewScrollPosition;
    enum class RowAnimation {
        fade = 0,
        right = 1,
        left = 2,
        top = 3,
        bottom = 4,
        none = 5,
        middle = 6,
        automatic = 100
    };
    static constexpr double automaticDimension = -1;
    static constexpr double kDefaultRowHeight = TableViewRowHeights::kDefaultRowHeight;
    using CellBuilder = std::function<std::shared_ptr<TableViewCell>()>;
    using HeaderFooterBuilder = std::function<std::shared_ptr<TableViewHeaderFooterView>()>;

    explicit TableView(const Rect& frame = {}, Style style = Style::plain);

    Style style() const { return style_; }
    std::shared_ptr<TableViewDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(std::weak_ptr<TableViewDataSource> dataSource);
    // Also the scroll view's delegate.
    std::shared_ptr<TableViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<TableViewDelegate> delegate);

    // Cells and header/footer views by reuse identifier. The table stamps the identifier on
    // what a builder makes.
    void registerCell(const std::string& identifier, CellBuilder builder);
    // Cells made by the nib's builder, which awakeFromNib then prepares.
    void registerNib(const std::string& nibName, const std::string& identifier);
    void registerHeaderFooterView(const std::string& identifier, HeaderFooterBuilder builder);
    // A waiting cell, else a new one; null for an identifier nothing was registered under.
    std::shared_ptr<TableViewCell> dequeueReusableCell(const std::string& identifier);
    // The same, sized for the row.
    std::shared_ptr<TableViewCell> dequeueReusableCell(const std::string& identifier,
                                                       const IndexPath& indexPath);
    std::shared_ptr<TableViewHeaderFooterView> dequeueReusableHeaderFooterView(
        const std::string& identifier);

    // The data. Row changes take index paths before the change for deletions and reloads and
    // after it for insertions; the data source must already tell the new counts, else the
    // table logs the mismatch and reloads everything.
    void reloadData();
    void reloadRows(const std::vector<IndexPath>& indexPaths,
                    RowAnimation animation = RowAnimation::automatic);
    void reloadSections(const std::vector<int>& sections,
                        RowAnimation animation = RowAnimation::automatic);
    void insertRows(const std::vector<IndexPath>& indexPaths,
                    RowAnimation animation = RowAnimation::automatic);
    void deleteRows(const std::vector<IndexPath>& indexPaths,
                    RowAnimation animation = RowAnimation::automatic);
    // Changes between these two are carried out together at endUpdates.
    void beginUpdates();
    void endUpdates();
    int numberOfSections();
    int numberOfRowsInSection(int section);

    // What is on screen: the rows that overlap the bounds at the content offset.
    std::vector<std::shared_ptr<TableViewCell>> visibleCells();
    std::vector<IndexPath> indexPathsForVisibleRows();
    // Null for a row out of sight.
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath);
    std::optional<IndexPath> indexPathForCell(const TableViewCell& cell) const;
    std::optional<IndexPath> indexPathForRowAtPoint(Point point);
    Rect rectForRowAtIndexPath(const IndexPath& indexPath);
    void scrollToRowAtIndexPath(const IndexPath& indexPath, ScrollPosition position, bool animated);

    // Selection from code tells the delegate nothing, as on the system.
    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
    void selectRow(std::optional<IndexPath> indexPath, bool animated, ScrollPosition position);
    void deselectRow(const IndexPath& indexPath, bool animated);

    // Swipe actions: a swipe towards the leading edge over a row reveals them, one button each;
    // a tap on the table, a scroll or the action's completion puts them away.
    std::optional<IndexPath> swipedRow() const { return swipeActions_->row(); }
    std::vector<std::shared_ptr<ContextualAction>> revealedSwipeActions() const {
        return swipeActions_->actions();
    }
    // The button a person taps for a revealed action; null when it is not shown.
    std::shared_ptr<View> buttonForSwipeAction(const std::string& title) const {
        return swipeActions_->buttonForAction(title);
    }

    // Look.
    double rowHeight() const { return rowHeights_.rowHeight(); }
    void setRowHeight(double height);
    double estimatedRowHeight() const { return rowHeights_.estimatedRowHeight(); }
    void setEstimatedRowHeight(double height);
    double sectionHeaderHeight() const { return supplements_.configuredHeight(Supplement::header); }
    void setSectionHeaderHeight(double height);
    double sectionFooterHeight() const { return supplements_.configuredHeight(Supplement::footer); }
    void setSectionFooterHeight(double height);
    SeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(SeparatorStyle style) { separatorStyle_ = style; }
    const std::optional<Color>& separatorColor() const { return separatorColor_; }
    void setSeparatorColor(std::optional<Color> color) { separatorColor_ = color; }
    const std::optional<Color>& sectionIndexColor() const { return sectionIndexColor_; }
    void setSectionIndexColor(std::optional<Color> color) { sectionIndexColor_ = color; }
    // As the data source gave them at the last reload.
    const std::vector<std::string>& sectionIndexTitles() const { return sectionIndexTitles_; }
    const std::shared_ptr<View>& tableHeaderView() const { return tableHeaderView_; }
    void setTableHeaderView(std::shared_ptr<View> view);
    const std::shared_ptr<View>& tableFooterView() const { return tableFooterView_; }
    void setTableFooterView(std::shared_ptr<View> view);

    void layoutSubviews() override;
    void drawOverSubviews(Canvas& canvas) override;

  protected:
    void contentOffsetDidChange() override;
    std::string describeSelf() const override;

  private:
    friend class TableViewCell;
    using Supplement = TableViewSupplements::Kind;

    // Reloading and tiling.
    void updateIfNeeded();
    void reloadNow();
    void tile();
    bool tileRows(double top, double bottom);
    void placeTableHeaderAndFooter();
    void applyContentSize();
    std::shared_ptr<TableViewCell> makeCell(const IndexPath& indexPath);
    void recycleCell(const IndexPath& indexPath, const std::shared_ptr<TableViewCell>& cell);
    void recycleAllCells();
    void insertInRowOrder(const std::shared_ptr<View>& view);
    void ensureSwipeRecognizer();

    TableViewGeometry::SectionHeights sectionHeights(int section, int rows);

    // Row changes.
    void applyUpdatesUnlessBatched();
    void applyUpdates(const TableViewUpdates& updates);
    std::vector<int> newRowCounts();
    std::vector<TableViewGeometry::SectionHeights> heightsAfter(const TableViewUpdates& updates,
                                                                const std::vector<int>& counts);
    void moveVisibleCells(const TableViewUpdates& updates);
    void reloadAfterInconsistency(const std::string& reason);

    // Touches and swipes, from the cells and the swipe recogniser.
    void cellTouchBegan(TableViewCell& cell);
    void cellTouchEnded(TableViewCell& cell, bool inside);
    void selectRowAsTapped(const IndexPath& indexPath);
    bool revealSwipeActions(const IndexPath& indexPath);

    Style style_;
    std::weak_ptr<TableViewDataSource> dataSource_;
    std::weak_ptr<TableViewDelegate> delegate_;
    ReusePool<TableViewCell> cellPool_;
    TableViewRowHeights rowHeights_{*this, delegate_};
    TableViewSupplements supplements_{*this, dataSource_, delegate_, style_ == Style::grouped};

    TableViewGeometry geometry_;
    bool needsReload_ = true;
    bool needsTiling_ = true;
    bool updating_ = false;
    int updateDepth_ = 0;
    TableViewUpdates pendingUpdates_;
    VisibleCells<TableViewCell> visibleCells_;
    std::optional<IndexPath> selected_;
    std::optional<IndexPath> highlighted_;
    std::vector<std::string> sectionIndexTitles_;

    std::shared_ptr<SwipeGestureRecognizer> swipeRecognizer_;
    std::shared_ptr<TableViewSwipeActions> swipeActions_ =
        std::make_shared<TableViewSwipeActions>(*this, dataSource_, delegate_);

    SeparatorStyle separatorStyle_ = SeparatorStyle::singleLine;
    std::optional<Color> separatorColor_;
    std::optional<Color> sectionIndexColor_;
    std::shared_ptr<View> tableHeaderView_;
    std::shared_ptr<View> tableFooterView_;
};

}  // namespace uikit
