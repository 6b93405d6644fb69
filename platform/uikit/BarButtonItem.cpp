#include "uikit/BarButtonItem.h"

namespace uikit {

std::shared_ptr<BarButtonItem> BarButtonItem::withTitle(std::string title, Style style,
                                                        Action action) {
    auto item = std::make_shared<BarButtonItem>();
    item->title_ = std::move(title);
    item->style_ = style;
    item->action_ = std::move(action);
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withImage(std::shared_ptr<Image> image, Style style,
                                                        Action action) {
    auto item = std::make_shared<BarButtonItem>();
    item->image_ = std::move(image);
    item->style_ = style;
    item->action_ = std::move(action);
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withSystemItem(SystemItem systemItem, Action action) {
    auto item = std::make_shared<BarButtonItem>();
    item->systemItem_ = systemItem;
    item->action_ = std::move(action);
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withCustomView(std::shared_ptr<View> view) {
    auto item = std::make_shared<BarButtonItem>();
    item->customView_ = std::move(view);
    return item;
}

void BarButtonItem::setTitle(std::optional<std::string> title) {
    title_ = std::move(title);
    notify();
}

void BarButtonItem::setImage(std::shared_ptr<Image> image) {
    image_ = std::move(image);
    notify();
}

void BarButtonItem::setCustomView(std::shared_ptr<View> view) {
    customView_ = std::move(view);
    notify();
}

void BarButtonItem::setTintColor(std::optional<Color> color) {
    tintColor_ = color;
    notify();
}

void BarButtonItem::setEnabled(bool enabled) {
    enabled_ = enabled;
    notify();
}

void BarButtonItem::notify() {
    if (changed_)
        changed_();
}

std::string BarButtonItem::displayText() const {
    if (title_)
        return *title_;
    if (image_)
        return image_->describe();
    if (systemItem_ == SystemItem::add)
        return "+";
    return {};
}

bool BarButtonItem::sendAction() {
    if (!enabled_)
        return false;
    if (action_) {
        auto keepAlive = shared_from_this();
        action_(*this);
    }
    return true;
}

}  // namespace uikit
