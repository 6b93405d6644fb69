#include "uikit/TabBarController.h"

#include <algorithm>
#include <utility>

#include "uikit/Screen.h"
#include "uikit/ViewControllerContainerView.h"
#include "uikit/Window.h"

namespace uikit {

void TabBarController::setViewControllers(
    std::vector<std::shared_ptr<ViewController>> controllers) {
    auto self = shared_from_this();
    auto old = selectedViewController();
    bool visible = isVisible();
    std::erase(controllers, nullptr);
    if (selectedIndex_ >= controllers.size())
        selectedIndex_ = 0;
    auto selected = selectedIndex_ < controllers.size() ? controllers[selectedIndex_] : nullptr;
    bool changes = old != selected;
    if (visible && changes) {
        if (old)
            old->beginAppearanceTransition(false, false);
        if (selected)
            selected->beginAppearanceTransition(true, false);
    }
    auto listed = [](const std::vector<std::shared_ptr<ViewController>>& list,
                     const std::shared_ptr<ViewController>& tab) {
        return std::find(list.begin(), list.end(), tab) != list.end();
    };
    for (auto& tab : tabs_) {
        if (auto view = tab->viewIfLoaded(); view && view->superview() == viewIfLoaded())
            view->removeFromSuperview();
        if (listed(controllers, tab))
            continue;
        tab->willMove(nullptr);
        tab->removeFromParent();
    }
    for (auto& tab : controllers) {
        if (listed(tabs_, tab))
            continue;
        addChild(tab);
        tab->didMove(self);
    }
    tabs_ = std::move(controllers);
    std::vector<std::shared_ptr<TabBarItem>> items;
    for (auto& tab : tabs_)
        items.push_back(tab->tabBarItem());
    tabBar()->setItems(std::move(items));
    tabBar()->setSelectedIndex(tabs_.empty() ? std::nullopt : std::optional(selectedIndex_));
    showSelected();
    if (visible && changes) {
        if (old)
            old->endAppearanceTransition();
        if (selected)
            selected->endAppearanceTransition();
    }
}

std::shared_ptr<ViewController> TabBarController::selectedViewController() const {
    return selectedIndex_ < tabs_.size() ? tabs_[selectedIndex_] : nullptr;
}

void TabBarController::setSelectedIndex(std::size_t index) {
    if (index >= tabs_.size() || index == selectedIndex_)
        return;
    auto keepAlive = shared_from_this();
    auto old = selectedViewController();
    auto selected = tabs_[index];
    bool visible = isVisible();
    if (visible) {
        old->beginAppearanceTransition(false, false);
        selected->beginAppearanceTransition(true, false);
    }
    selectedIndex_ = index;
    tabBar()->setSelectedIndex(index);
    if (auto view = old->viewIfLoaded(); view && view->superview() == viewIfLoaded())
        view->removeFromSuperview();
    showSelected();
    if (visible) {
        old->endAppearanceTransition();
        selected->endAppearanceTransition();
    }
    if (auto window = containingWindow())
        window->updateStatusBarAppearance();
}

const std::shared_ptr<TabBar>& TabBarController::tabBar() {
    if (!tabBar_) {
        tabBar_ = std::make_shared<TabBar>();
        std::weak_ptr<ViewController> weakSelf = weak_from_this();
        tabBar_->setSelectionHandler([weakSelf](std::size_t index) {
            if (auto self = std::static_pointer_cast<TabBarController>(weakSelf.lock()))
                self->setSelectedIndex(index);
        });
    }
    return tabBar_;
}

void TabBarController::loadView() {
    auto container = std::make_shared<ViewControllerContainerView>(Screen::main().bounds());
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    container->setLayoutHandler([weakSelf] {
        if (auto self = std::static_pointer_cast<TabBarController>(weakSelf.lock()))
            self->layoutContent();
    });
    setView(container);
    container->addSubview(tabBar());
    showSelected();
}

std::vector<std::shared_ptr<ViewController>> TabBarController::childrenForAppearance() const {
    if (auto selected = selectedViewController())
        return {selected};
    return {};
}

void TabBarController::showSelected() {
    auto container = viewIfLoaded();
    auto selected = selectedViewController();
    if (!container)
        return;
    if (selected && selected->view()->superview() != container)
        container->insertSubviewBelow(selected->view(), tabBar().get());
    layoutContent();
}

void TabBarController::layoutContent() {
    auto container = viewIfLoaded();
    if (!container)
        return;
    Rect bounds = container->bounds();
    double barHeight = TabBar::kHeight + container->safeAreaInsets().bottom;
    tabBar()->setFrame({0, bounds.height() - barHeight, bounds.width(), barHeight});
    std::static_pointer_cast<ViewControllerContainerView>(container)->setBarInsets(
        {0, 0, barHeight, 0});
    if (auto selected = selectedViewController(); selected && selected->viewIfLoaded())
        selected->viewIfLoaded()->setFrame(frameForChild(*selected, barHeight));
}

// As with a navigation bar: the child's view goes on under a translucent bar, or an opaque one
// it asks to extend under, and its safe area ends at the bar.
Rect TabBarController::frameForChild(const ViewController& child, double barHeight) const {
    Rect bounds = viewIfLoaded()->bounds();
    bool extendsUnderBar = (child.edgesForExtendedLayout() & RectEdge::bottom) &&
                           (tabBar_->isTranslucent() || child.extendedLayoutIncludesOpaqueBars());
    if (extendsUnderBar)
        return bounds;
    return {0, 0, bounds.width(), std::max(0.0, bounds.height() - barHeight)};
}

}  // namespace uikit
