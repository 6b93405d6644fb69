#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "uikit/AttributedString.h"
#include "uikit/BarStyle.h"
#include "uikit/Button.h"
#include "uikit/Image.h"
#include "uikit/Label.h"
#include "uikit/NavigationItem.h"
#include "uikit/View.h"

namespace uikit {

// The bar above a navigation controller's content. It shows the top item: a back button (when
// there is an item below and the top item has no left items), the left items, the title or title
// view, the right items, and a large title under them when large titles are preferred.
class NavigationBar : public View {
  public:
    static constexpr double kHeight = 44;
    static constexpr double kLargeTitleHeight = 52;

    NavigationBar();

    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool translucent) { translucent_ = translucent; }
    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style) { barStyle_ = style; }
    const std::optional<Color>& barTintColor() const { return barTintColor_; }
    void setBarTintColor(std::optional<Color> color) { barTintColor_ = color; }
    // For the default bar metrics.
    const std::shared_ptr<Image>& backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(std::shared_ptr<Image> image) { backgroundImage_ = std::move(image); }
    const std::shared_ptr<Image>& shadowImage() const { return shadowImage_; }
    void setShadowImage(std::shared_ptr<Image> image) { shadowImage_ = std::move(image); }
    const TextAttributes& titleTextAttributes() const { return titleTextAttributes_; }
    void setTitleTextAttributes(TextAttributes attributes);
    const TextAttributes& largeTitleTextAttributes() const { return largeTitleTextAttributes_; }
    void setLargeTitleTextAttributes(TextAttributes attributes);
    bool prefersLargeTitles() const { return prefersLargeTitles_; }
    void setPrefersLargeTitles(bool on);
    // Large titles are preferred and the top item does not refuse them.
    bool showsLargeTitle() const;

    // The items of the navigation stack, bottom first.
    const std::vector<std::shared_ptr<NavigationItem>>& items() const { return items_; }
    void setItems(std::vector<std::shared_ptr<NavigationItem>> items);
    std::shared_ptr<NavigationItem> topItem() const;
    std::shared_ptr<NavigationItem> backItem() const;
    // What the back button does (the navigation controller pops).
    void setBackAction(std::function<void()> action) { backAction_ = std::move(action); }

    Size sizeThatFits(Size size) const override;
    void layoutSubviews() override;
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override { return "NavigationBar"; }

  private:
    void rebuildContent();
    void clearContent();
    std::shared_ptr<View> viewForItem(const std::shared_ptr<BarButtonItem>& item);
    std::shared_ptr<Button> makeBackButton();
    std::shared_ptr<Label> makeTitleLabel(const std::string& title, bool large) const;
    void placeSides(double rowHeight);

    bool translucent_ = true;
    BarStyle barStyle_ = BarStyle::defaultStyle;
    std::optional<Color> barTintColor_;
    std::shared_ptr<Image> backgroundImage_;
    std::shared_ptr<Image> shadowImage_;
    TextAttributes titleTextAttributes_;
    TextAttributes largeTitleTextAttributes_;
    bool prefersLargeTitles_ = false;

    std::vector<std::shared_ptr<NavigationItem>> items_;
    std::function<void()> backAction_;
    std::vector<std::shared_ptr<View>> leftViews_;
    std::vector<std::shared_ptr<View>> rightViews_;
    std::shared_ptr<View> titleView_;
    std::shared_ptr<Label> largeTitleLabel_;
};

}  // namespace uikit
