#include "uikit/NavigationItem.h"

namespace uikit {

namespace {

NavigationItem::ItemList listOf(std::shared_ptr<BarButtonItem> item) {
    if (!item)
        return {};
    return {std::move(item)};
}

}  // namespace

void NavigationItem::setTitle(std::optional<std::string> title) {
    title_ = std::move(title);
    notify();
}

void NavigationItem::setTitleView(std::shared_ptr<View> view) {
    titleView_ = std::move(view);
    notify();
}

std::shared_ptr<BarButtonItem> NavigationItem::leftBarButtonItem() const {
    return leftItems_.empty() ? nullptr : leftItems_.front();
}

void NavigationItem::setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated) {
    setLeftBarButtonItems(listOf(std::move(item)), animated);
}

void NavigationItem::setLeftBarButtonItems(ItemList items, bool) {
    leftItems_ = std::move(items);
    notify();
}

std::shared_ptr<BarButtonItem> NavigationItem::rightBarButtonItem() const {
    return rightItems_.empty() ? nullptr : rightItems_.front();
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated) {
    setRightBarButtonItems(listOf(std::move(item)), animated);
}

void NavigationItem::setRightBarButtonItems(ItemList items, bool) {
    rightItems_ = std::move(items);
    notify();
}

void NavigationItem::setLargeTitleDisplayMode(LargeTitleDisplayMode mode) {
    largeTitleDisplayMode_ = mode;
    notify();
}

void NavigationItem::notify() {
    if (changed_)
        changed_();
}

}  // namespace uikit
