#include "uikit/NavigationBar.h"

#include "uikit/Canvas.h"
#include "uikit/Material.h"
#include "uikit/Window.h"

namespace uikit {

namespace {

constexpr double kMargin = 8;
constexpr double kLargeTitleInset = 16;

Size fittingSize(const View& view) {
    Size size = view.intrinsicContentSize();
    if (size.width < 0 || size.height < 0)
        size = view.bounds().size;
    return size;
}

}  // namespace

NavigationBar::NavigationBar() : View(Rect{0, 0, 375, kHeight}) {}

void NavigationBar::setTitleTextAttributes(TextAttributes attributes) {
    titleTextAttributes_ = std::move(attributes);
    rebuildContent();
}

void NavigationBar::setLargeTitleTextAttributes(TextAttributes attributes) {
    largeTitleTextAttributes_ = std::move(attributes);
    rebuildContent();
}

void NavigationBar::setPrefersLargeTitles(bool on) {
    prefersLargeTitles_ = on;
    rebuildContent();
    if (auto parent = superview())
        parent->setNeedsLayout();
}

bool NavigationBar::showsLargeTitle() const {
    auto top = topItem();
    if (!prefersLargeTitles_ || !top)
        return false;
    return top->largeTitleDisplayMode() != NavigationItem::LargeTitleDisplayMode::never;
}

void NavigationBar::setItems(std::vector<std::shared_ptr<NavigationItem>> items) {
    items_ = std::move(items);
    std::weak_ptr<NavigationBar> weakSelf =
        std::static_pointer_cast<NavigationBar>(shared_from_this());
    for (auto& item : items_) {
        item->setChangeHandler([weakSelf] {
            if (auto bar = weakSelf.lock())
                bar->rebuildContent();
        });
    }
    rebuildContent();
}

std::shared_ptr<NavigationItem> NavigationBar::topItem() const {
    return items_.empty() ? nullptr : items_.back();
}

std::shared_ptr<NavigationItem> NavigationBar::backItem() const {
    return items_.size() < 2 ? nullptr : items_[items_.size() - 2];
}

void NavigationBar::clearContent() {
    for (auto& view : leftViews_)
        view->removeFromSuperview();
    for (auto& view : rightViews_)
        view->removeFromSuperview();
    if (titleView_)
        titleView_->removeFromSuperview();
    if (largeTitleLabel_)
        largeTitleLabel_->removeFromSuperview();
    leftViews_.clear();
    rightViews_.clear();
    titleView_.reset();
    largeTitleLabel_.reset();
}

// The bar's own subviews are made again from the top item whenever something they show
// changes; views others add to the bar stay.
void NavigationBar::rebuildContent() {
    clearContent();
    auto top = topItem();
    if (!top)
        return;
    if (top->leftBarButtonItems().empty() && backItem())
        leftViews_.push_back(makeBackButton());
    for (auto& item : top->leftBarButtonItems())
        leftViews_.push_back(viewForItem(item));
    for (auto& item : top->rightBarButtonItems())
        rightViews_.push_back(viewForItem(item));
    bool large = showsLargeTitle();
    if (top->titleView()) {
        titleView_ = top->titleView();
    } else if (top->title() && !large) {
        titleView_ = makeTitleLabel(*top->title(), false);
    }
    if (large && top->title())
        largeTitleLabel_ = makeTitleLabel(*top->title(), true);
    for (auto& view : leftViews_)
        addSubview(view);
    if (titleView_)
        addSubview(titleView_);
    for (auto& view : rightViews_)
        addSubview(view);
    if (largeTitleLabel_)
        addSubview(largeTitleLabel_);
    setNeedsLayout();
}

std::shared_ptr<View> NavigationBar::viewForItem(const std::shared_ptr<BarButtonItem>& item) {
    std::weak_ptr<NavigationBar> weakSelf =
        std::static_pointer_cast<NavigationBar>(shared_from_this());
    item->setChangeHandler([weakSelf] {
        if (auto bar = weakSelf.lock())
            bar->rebuildContent();
    });
    if (item->customView()) {
        item->setShownView(item->customView());
        return item->customView();
    }
    auto button = std::make_shared<Button>(ButtonType::system);
    if (item->image() && !item->title()) {
        button->setImage(item->image());
    } else {
        button->setTitle(item->displayText());
    }
    button->setEnabled(item->isEnabled());
    if (item->tintColor())
        button->setTintColor(item->tintColor());
    std::weak_ptr<BarButtonItem> weakItem = item;
    button->addAction(
        [weakItem](Control&) {
            if (auto target = weakItem.lock())
                target->sendAction();
        },
        ControlEvent::touchUpInside);
    button->sizeToFit();
    item->setShownView(button);
    return button;
}

std::shared_ptr<Button> NavigationBar::makeBackButton() {
    auto back = backItem();
    auto button = std::make_shared<Button>(ButtonType::system);
    button->setTitle("‹ " + back->title().value_or("Back"));
    std::weak_ptr<NavigationBar> weakSelf =
        std::static_pointer_cast<NavigationBar>(shared_from_this());
    button->addAction(
        [weakSelf](Control&) {
            auto bar = weakSelf.lock();
            if (bar && bar->backAction_)
                bar->backAction_();
        },
        ControlEvent::touchUpInside);
    button->sizeToFit();
    return button;
}

std::shared_ptr<Label> NavigationBar::makeTitleLabel(const std::string& title, bool large) const {
    const auto& attributes = large ? largeTitleTextAttributes_ : titleTextAttributes_;
    auto label = std::make_shared<Label>();
    label->setText(title);
    label->setFont(attributes.font.value_or(Font::boldSystemFont(large ? 34 : 17)));
    if (attributes.foregroundColor)
        label->setTextColor(attributes.foregroundColor);
    label->sizeToFit();
    return label;
}

Size NavigationBar::sizeThatFits(Size size) const {
    return {size.width, showsLargeTitle() ? kHeight + kLargeTitleHeight : kHeight};
}

void NavigationBar::layoutSubviews() {
    placeSides(kHeight);
    if (titleView_) {
        Size size = fittingSize(*titleView_);
        titleView_->setFrame({(bounds().width() - size.width) / 2, (kHeight - size.height) / 2,
                              size.width, size.height});
    }
    if (largeTitleLabel_) {
        largeTitleLabel_->setFrame({kLargeTitleInset, kHeight,
                                    bounds().width() - 2 * kLargeTitleInset, kLargeTitleHeight});
    }
}

// The background image, else the bar's tint or material; an empty image leaves the bar clear.
// Right under the status bar, the background goes on up behind it; the shadow (a hairline
// unless an image replaces it) lies under the bar.
void NavigationBar::draw(Canvas& canvas) {
    Rect area = bounds();
    double top = convertPointTo({area.minX(), area.minY()}, nullptr).y;
    if (top > 0 && top <= Window::kStatusBarHeight) {
        area.origin.y -= top;
        area.size.height += top;
    }
    if (backgroundImage_)
        canvas.drawImage(*backgroundImage_, area);
    else
        canvas.fill(area, Material::barFill(barStyle_, translucent_, barTintColor_));
    double hairline = 1 / canvas.scale();
    Rect shadow{area.minX(), area.maxY(), area.width(),
                shadowImage_ ? shadowImage_->size().height : hairline};
    if (shadowImage_)
        canvas.drawImage(*shadowImage_, shadow);
    else
        canvas.fill(shadow, Material::hairline(barStyle_));
}

void NavigationBar::placeSides(double rowHeight) {
    double x = kMargin;
    for (auto& view : leftViews_) {
        Size size = fittingSize(*view);
        view->setFrame({x, (rowHeight - size.height) / 2, size.width, size.height});
        x += size.width + kMargin;
    }
    double right = bounds().width() - kMargin;
    for (auto& view : rightViews_) {
        Size size = fittingSize(*view);
        right -= size.width;
        view->setFrame({right, (rowHeight - size.height) / 2, size.width, size.height});
        right -= kMargin;
    }
}

}  // namespace uikit
