#include "uikit/TabBar.h"

#include "uikit/Canvas.h"
#include "uikit/Material.h"

namespace uikit {

namespace {
constexpr double kTitleSize = 10;
}  // namespace

TabBar::TabBar() : View(Rect{0, 0, 375, kHeight}) {}

void TabBar::setItems(std::vector<std::shared_ptr<TabBarItem>> items) {
    items_ = std::move(items);
    std::weak_ptr<TabBar> weakSelf = std::static_pointer_cast<TabBar>(shared_from_this());
    for (auto& item : items_) {
        item->setChangeHandler([weakSelf] {
            if (auto bar = weakSelf.lock())
                bar->rebuildButtons();
        });
    }
    if (selectedIndex_ && *selectedIndex_ >= items_.size())
        selectedIndex_.reset();
    rebuildButtons();
}

std::shared_ptr<TabBarItem> TabBar::selectedItem() const {
    return selectedIndex_ ? items_[*selectedIndex_] : nullptr;
}

void TabBar::setSelectedIndex(std::optional<std::size_t> index) {
    if (index && *index >= items_.size())
        index.reset();
    selectedIndex_ = index;
    // The selected tab takes the bar's tint; the others are grey.
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        bool selected = selectedIndex_ == i;
        buttons_[i]->setSelected(selected);
        buttons_[i]->setTintColor(selected ? std::nullopt
                                           : std::optional<Color>(Color::systemGray()));
    }
}

std::shared_ptr<Button> TabBar::buttonForItem(std::size_t index) const {
    return index < buttons_.size() ? buttons_[index] : nullptr;
}

void TabBar::rebuildButtons() {
    for (auto& button : buttons_)
        button->removeFromSuperview();
    buttons_.clear();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        buttons_.push_back(makeButton(*items_[i], i));
        addSubview(buttons_.back());
    }
    setSelectedIndex(selectedIndex_);
    setNeedsLayout();
}

std::shared_ptr<Button> TabBar::makeButton(const TabBarItem& item, std::size_t index) {
    auto button = std::make_shared<Button>(ButtonType::system);
    button->titleLabel()->setFont(Font::systemFont(kTitleSize, FontWeight::medium));
    if (item.title())
        button->setTitle(item.title());
    if (item.image())
        button->setImage(item.image());
    if (item.selectedImage())
        button->setImage(item.selectedImage(), ControlStates::selected);
    std::weak_ptr<TabBar> weakSelf = std::static_pointer_cast<TabBar>(shared_from_this());
    button->addAction(
        [weakSelf, index](Control&) {
            auto bar = weakSelf.lock();
            if (bar && bar->selectionHandler_)
                bar->selectionHandler_(index);
        },
        ControlEvent::touchUpInside);
    return button;
}

void TabBar::layoutSubviews() {
    if (buttons_.empty())
        return;
    double width = bounds().width() / static_cast<double>(buttons_.size());
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setFrame({width * static_cast<double>(i), 0, width, kHeight});
}

void TabBar::draw(Canvas& canvas) {
    canvas.fill(bounds(), Material::barFill(barStyle_, translucent_, barTintColor_));
    canvas.fill({bounds().minX(), bounds().minY(), bounds().width(), 1 / canvas.scale()},
                Material::hairline(barStyle_));
}

}  // namespace uikit
