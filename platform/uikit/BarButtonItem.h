#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "uikit/Color.h"
#include "uikit/Image.h"
#include "uikit/View.h"

namespace uikit {

// A button of a navigation bar or toolbar: a title, an image, one of the system's items, or a
// view of the caller's. Not a view itself; the bar shows it.
class BarButtonItem : public std::enable_shared_from_this<BarButtonItem> {
  public:
    // Raw values as the system numbers them.
    enum class Style { plain = 0, done = 2 };
    enum class SystemItem { add = 4 };
    using Action = std::function<void(BarButtonItem& sender)>;

    static std::shared_ptr<BarButtonItem> withTitle(std::string title, Style style, Action action);
    static std::shared_ptr<BarButtonItem> withImage(std::shared_ptr<Image> image, Style style,
                                                    Action action);
    static std::shared_ptr<BarButtonItem> withSystemItem(SystemItem item, Action action);
    static std::shared_ptr<BarButtonItem> withCustomView(std::shared_ptr<View> view);

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title);
    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image);
    const std::optional<SystemItem>& systemItem() const { return systemItem_; }
    const std::shared_ptr<View>& customView() const { return customView_; }
    void setCustomView(std::shared_ptr<View> view);
    Style style() const { return style_; }
    void setStyle(Style style) { style_ = style; }
    const std::optional<Color>& tintColor() const { return tintColor_; }
    void setTintColor(std::optional<Color> color);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    void setAction(Action action) { action_ = std::move(action); }

    // The view showing the item in a bar (its custom view or the bar's button), while shown.
    std::shared_ptr<View> shownView() const { return shownView_.lock(); }
    void setShownView(const std::shared_ptr<View>& view) { shownView_ = view; }
    // The one bar showing the item hears of changes to what it shows through this.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

    // What a person reads on the item: its title, its image's name, or the system item's sign.
    std::string displayText() const;
    // A tap on the item: runs the action when the item is enabled; false when it is not.
    bool sendAction();

  private:
    void notify();

    std::optional<std::string> title_;
    std::shared_ptr<Image> image_;
    std::optional<SystemItem> systemItem_;
    std::shared_ptr<View> customView_;
    Style style_ = Style::plain;
    std::optional<Color> tintColor_;
    bool enabled_ = true;
    int tag_ = 0;
    Action action_;
    std::weak_ptr<View> shownView_;
    std::function<void()> changed_;
};

}  // namespace uikit
