#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
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
    enum class ScrollPosition { none = 0, top = 1, middle = 2, bottom = 3 };
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
    static constexpr double kDefaultRowHeight = 44;
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
    std::optional<IndexPath> swipedRow() const { return swipedRow_; }
    std::vector<std::shared_ptr<ContextualAction>> revealedSwipeActions() const;
    // The button a person taps for a revealed action; null when it is not shown.
    std::shared_ptr<View> buttonForSwipeAction(const std::string& title) const;

    // Look.
    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height);
    double estimatedRowHeight() const { return estimatedRowHeight_; }
    void setEstimatedRowHeight(double height);
    double sectionHeaderHeight() const { return sectionHeaderHeight_; }
    void setSectionHeaderHeight(double height);
    double sectionFooterHeight() const { return sectionFooterHeight_; }
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
    struct Updates {
        std::vector<IndexPath> deletions;
        std::vector<IndexPath> insertions;
        std::vector<IndexPath> reloads;
        std::set<int> reloadedSections;
        bool empty() const {
            return deletions.empty() && insertions.empty() && reloads.empty() &&
                   reloadedSections.empty();
        }
    };
    enum class Supplement { header, footer };

    // Reloading and tiling.
    void updateIfNeeded();
    void reloadNow();
    void tile();
    bool tileRows(double top, double bottom);
    void tileSupplements(double top, double bottom);
    void placeTableHeaderAndFooter();
    void applyContentSize();
    std::shared_ptr<TableViewCell> makeCell(const IndexPath& indexPath);
    void recycleCell(const IndexPath& indexPath, const std::shared_ptr<TableViewCell>& cell);
    void recycleAllCells();
    void recycleSupplement(const std::shared_ptr<View>& view);
    void removeSupplements();
    void insertInRowOrder(const std::shared_ptr<View>& view);
    void ensureSwipeRecognizer();
    void drawSectionIndex(Canvas& canvas);

    // Heights and supplements as the delegate and data source tell them.
    double resolvedRowHeight(const IndexPath& indexPath);
    bool hasAutomaticHeight(const IndexPath& indexPath);
    TableViewGeometry::SectionHeights sectionHeights(int section, int rows);
    double supplementHeight(Supplement kind, int section);
    std::optional<std::string> supplementTitle(Supplement kind, int section);
    std::shared_ptr<View> makeSupplement(Supplement kind, int section);

    // Row changes.
    void enqueueUpdates(const std::function<void(Updates&)>& change);
    void applyUpdates(const Updates& updates);
    // What is wrong with the changes given the data source's new row counts, if anything.
    std::optional<std::string> inconsistency(const Updates& updates,
                                             const std::vector<int>& newCounts) const;
    static std::optional<IndexPath> mapRow(const IndexPath& old, const Updates& updates);
    void reloadAfterInconsistency(const std::string& reason);

    // Touches and swipes, from the cells and the swipe recogniser.
    void cellTouchBegan(TableViewCell& cell);
    void cellTouchEnded(TableViewCell& cell, bool inside);
    void selectRowAsTapped(const IndexPath& indexPath);
    std::shared_ptr<SwipeActionsConfiguration> swipeConfiguration(const IndexPath& indexPath);
    bool revealSwipeActions(const IndexPath& indexPath);
    void performSwipeAction(std::size_t index);
    void closeSwipeActions();

    Style style_;
    std::weak_ptr<TableViewDataSource> dataSource_;
    std::weak_ptr<TableViewDelegate> delegate_;
    ReusePool<TableViewCell> cellPool_;
    ReusePool<TableViewHeaderFooterView> supplementPool_;

    TableViewGeometry geometry_;
    bool needsReload_ = true;
    bool needsTiling_ = true;
    bool updating_ = false;
    int updateDepth_ = 0;
    Updates pendingUpdates_;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> visibleCells_;
    std::map<int, std::shared_ptr<View>> visibleHeaders_;
    std::map<int, std::shared_ptr<View>> visibleFooters_;
    std::optional<IndexPath> selected_;
    std::optional<IndexPath> highlighted_;
    std::vector<std::string> sectionIndexTitles_;

    std::shared_ptr<SwipeGestureRecognizer> swipeRecognizer_;
    std::optional<IndexPath> swipedRow_;
    std::shared_ptr<SwipeActionsConfiguration> swipeConfiguration_;
    std::shared_ptr<View> swipeActionsView_;

    double rowHeight_ = automaticDimension;
    double estimatedRowHeight_ = automaticDimension;
    double sectionHeaderHeight_ = automaticDimension;
    double sectionFooterHeight_ = automaticDimension;
    SeparatorStyle separatorStyle_ = SeparatorStyle::singleLine;
    std::optional<Color> separatorColor_;
    std::optional<Color> sectionIndexColor_;
    std::shared_ptr<View> tableHeaderView_;
    std::shared_ptr<View> tableFooterView_;
};

}  // namespace uikit
