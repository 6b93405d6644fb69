#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "uikit/BarStyle.h"
#include "uikit/Button.h"
#include "uikit/TabBarItem.h"
#include "uikit/View.h"

namespace uikit {

// The row of tabs under a tab bar controller's content: one button per item, the selected one
// marked. A tap on a tab goes to the selection handler (the tab bar controller).
class TabBar : public View {
  public:
    static constexpr double kHeight = 49;

    TabBar();

    const std::vector<std::shared_ptr<TabBarItem>>& items() const { return items_; }
    void setItems(std::vector<std::shared_ptr<TabBarItem>> items);
    std::shared_ptr<TabBarItem> selectedItem() const;
    std::optional<std::size_t> selectedIndex() const { return selectedIndex_; }
    void setSelectedIndex(std::optional<std::size_t> index);
    void setSelectionHandler(std::function<void(std::size_t index)> handler) {
        selectionHandler_ = std::move(handler);
    }
    // The button a person taps for the item at the index; null when there is none.
    std::shared_ptr<Button> buttonForItem(std::size_t index) const;

    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style) { barStyle_ = style; }
    const std::optional<Color>& barTintColor() const { return barTintColor_; }
    void setBarTintColor(std::optional<Color> color) { barTintColor_ = color; }
    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool translucent) { translucent_ = translucent; }

    void layoutSubviews() override;
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override { return "TabBar"; }

  private:
    void rebuildButtons();
    std::shared_ptr<Button> makeButton(const TabBarItem& item, std::size_t index);

    std::vector<std::shared_ptr<TabBarItem>> items_;
    std::vector<std::shared_ptr<Button>> buttons_;
    std::optional<std::size_t> selectedIndex_;
    std::function<void(std::size_t)> selectionHandler_;
    BarStyle barStyle_ = BarStyle::defaultStyle;
    std::optional<Color> barTintColor_;
    bool translucent_ = true;
};

}  // namespace uikit
