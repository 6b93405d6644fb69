#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "uikit/ReusePool.h"
#include "uikit/TableViewGeometry.h"
#include "uikit/TableViewHeaderFooterView.h"

namespace uikit {

class TableView;
class TableViewDataSource;
class TableViewDelegate;

// A table's section headers and footers: their heights and views as the delegate and data
// source give them (a title alone shows in a plain header view), the ones in sight, and the
// pool they go back to. The table is only named to its data source and delegate.
class TableViewSupplements {
  public:
    enum class Kind { header, footer };
    using Builder = std::function<std::shared_ptr<TableViewHeaderFooterView>()>;
    // Puts a view that came into sight, already at its frame, into the table.
    using Placer = std::function<void(const std::shared_ptr<View>& view)>;

    TableViewSupplements(TableView& table, const std::weak_ptr<TableViewDataSource>& dataSource,
                         const std::weak_ptr<TableViewDelegate>& delegate, bool grouped);

    // The height of every header (footer) with a title or a view of the delegate's, unless
    // the delegate says otherwise; negative for their own.
    double configuredHeight(Kind kind) const;
    void setConfiguredHeight(Kind kind, double height);

    void registerBuilder(const std::string& identifier, Builder builder);
    std::shared_ptr<TableViewHeaderFooterView> dequeue(const std::string& identifier);

    double height(Kind kind, int section);
    // Shows the headers and footers that overlap the strip [top, bottom) where the geometry
    // puts them, moves those still in it, and gives back those that left it.
    void tile(const TableViewGeometry& geometry, double width, double top, double bottom,
              const Placer& place);
    void recycleAll();

  private:
    void tileKind(Kind kind, const TableViewGeometry& geometry, double width, double top,
                  double bottom, const Placer& place);
    std::optional<std::string> title(Kind kind, int section);
    std::shared_ptr<View> delegateView(Kind kind, int section);
    std::shared_ptr<View> make(Kind kind, int section);
    void recycle(const std::shared_ptr<View>& view);

    TableView& table_;
    const std::weak_ptr<TableViewDataSource>& dataSource_;
    const std::weak_ptr<TableViewDelegate>& delegate_;
    bool grouped_ = false;
    double headerHeight_ = -1;
    double footerHeight_ = -1;
    ReusePool<TableViewHeaderFooterView> pool_;
    std::map<int, std::shared_ptr<View>> headers_;
    std::map<int, std::shared_ptr<View>> footers_;
};

}  // namespace uikit
