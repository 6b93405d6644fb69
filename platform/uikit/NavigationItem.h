#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/BarButtonItem.h"
#include "uikit/View.h"

namespace uikit {

// What a controller shows in the navigation bar while it is on top: a title or title view and
// the bar button items on either side.
class NavigationItem {
  public:
    // Raw values as the system numbers them.
    enum class LargeTitleDisplayMode { automatic = 0, always = 1, never = 2 };
    using ItemList = std::vector<std::shared_ptr<BarButtonItem>>;

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title);
    const std::shared_ptr<View>& titleView() const { return titleView_; }
    void setTitleView(std::shared_ptr<View> view);

    std::shared_ptr<BarButtonItem> leftBarButtonItem() const;
    void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    const ItemList& leftBarButtonItems() const { return leftItems_; }
    void setLeftBarButtonItems(ItemList items, bool animated = false);
    std::shared_ptr<BarButtonItem> rightBarButtonItem() const;
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    const ItemList& rightBarButtonItems() const { return rightItems_; }
    void setRightBarButtonItems(ItemList items, bool animated = false);

    LargeTitleDisplayMode largeTitleDisplayMode() const { return largeTitleDisplayMode_; }
    void setLargeTitleDisplayMode(LargeTitleDisplayMode mode);

    // The one bar showing this item hears of every change through this.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

  private:
    void notify();

    std::optional<std::string> title_;
    std::shared_ptr<View> titleView_;
    ItemList leftItems_;
    ItemList rightItems_;
    LargeTitleDisplayMode largeTitleDisplayMode_ = LargeTitleDisplayMode::automatic;
    std::function<void()> changed_;
};

}  // namespace uikit
