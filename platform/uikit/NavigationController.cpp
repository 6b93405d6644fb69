#include "uikit/NavigationController.h"

#include <algorithm>

#include "foundation/Log.h"
#include "uikit/Screen.h"
#include "uikit/ViewControllerContainerView.h"

namespace uikit {

namespace {

bool contains(const std::vector<std::shared_ptr<ViewController>>& list,
              const std::shared_ptr<ViewController>& controller) {
    return std::find(list.begin(), list.end(), controller) != list.end();
}

}  // namespace

std::shared_ptr<NavigationController> NavigationController::create(
    std::shared_ptr<ViewController> root) {
    auto navigation = std::make_shared<NavigationController>();
    if (root)
        navigation->setViewControllers({std::move(root)});
    return navigation;
}

std::shared_ptr<ViewController> NavigationController::topViewController() const {
    return stack_.empty() ? nullptr : stack_.back();
}

std::shared_ptr<ViewController> NavigationController::visibleViewController() const {
    if (auto presented = presentedViewController())
        return presented;
    return topViewController();
}

void NavigationController::setViewControllers(
    std::vector<std::shared_ptr<ViewController>> controllers, bool animated) {
    transition_.finishNow();
    std::vector<std::shared_ptr<ViewController>> unique;
    for (auto& controller : controllers)
        if (controller && !contains(unique, controller))
            unique.push_back(controller);
    auto from = topViewController();
    std::vector<std::shared_ptr<ViewController>> leaving, entering;
    for (auto& controller : stack_)
        if (!contains(unique, controller))
            leaving.push_back(controller);
    for (auto& controller : unique)
        if (!contains(stack_, controller))
            entering.push_back(controller);
    for (auto& controller : leaving)
        controller->willMove(nullptr);
    for (auto& controller : entering)
        addChild(controller);
    stack_ = std::move(unique);
    // Without a title of its own the stack shows its root's title in a tab bar.
    if (!title() && !stack_.empty())
        tabBarItem()->setTitle(stack_.front()->title());
    updateBarItems();
    replaceTop(from, topViewController(), std::move(leaving), std::move(entering), animated);
}

void NavigationController::push(const std::shared_ptr<ViewController>& controller, bool animated) {
    if (!controller)
        return;
    if (controller->parent() || contains(stack_, controller)) {
        foundation::logPlain("Pushing a controller that is already in a stack is not supported");
        return;
    }
    transition_.finishNow();
    auto from = topViewController();
    addChild(controller);
    stack_.push_back(controller);
    updateBarItems();
    replaceTop(from, controller, {}, {controller}, animated);
}

std::shared_ptr<ViewController> NavigationController::pop(bool animated) {
    if (stack_.size() < 2)
        return nullptr;
    transition_.finishNow();
    auto popped = stack_.back();
    stack_.pop_back();
    popped->willMove(nullptr);
    updateBarItems();
    replaceTop(popped, topViewController(), {popped}, {}, animated);
    return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToRoot(bool animated) {
    if (stack_.size() < 2)
        return {};
    transition_.finishNow();
    std::vector<std::shared_ptr<ViewController>> popped(stack_.begin() + 1, stack_.end());
    auto from = stack_.back();
    stack_.resize(1);
    for (auto& controller : popped)
        controller->willMove(nullptr);
    updateBarItems();
    replaceTop(from, topViewController(), popped, {}, animated);
    return popped;
}

// The new top's view goes in at once and the hooks begin; at the end of the transition the old
// top's view leaves, the hooks end and the controllers that left are let go.
void NavigationController::replaceTop(const std::shared_ptr<ViewController>& from,
                                      const std::shared_ptr<ViewController>& to,
                                      std::vector<std::shared_ptr<ViewController>> leaving,
                                      std::vector<std::shared_ptr<ViewController>> entering,
                                      bool animated) {
    auto self = std::static_pointer_cast<NavigationController>(shared_from_this());
    bool visible = isVisible();
    bool changes = from != to;
    if (isViewLoaded() && to)
        installView(to);
    if (visible && changes) {
        if (from)
            from->beginAppearanceTransition(false, animated);
        if (to)
            to->beginAppearanceTransition(true, animated);
    }
    transition_.start(animated, [self, from, to, leaving = std::move(leaving),
                                 entering = std::move(entering), visible, changes] {
        auto top = self->topViewController();
        if (from && from != top && from->viewIfLoaded())
            from->viewIfLoaded()->removeFromSuperview();
        for (auto& controller : leaving)
            if (controller != top && controller->viewIfLoaded())
                controller->viewIfLoaded()->removeFromSuperview();
        if (visible && changes) {
            if (from)
                from->endAppearanceTransition();
            if (to)
                to->endAppearanceTransition();
        }
        for (auto& controller : leaving)
            controller->removeFromParent();
        for (auto& controller : entering)
            controller->didMove(self);
    });
    // Off screen there is nothing to play: the change is complete at once.
    if (!visible)
        transition_.finishNow();
}

void NavigationController::installView(const std::shared_ptr<ViewController>& controller) {
    auto container = view();
    auto childView = controller->view();
    if (childView->superview() != container)
        container->insertSubviewBelow(childView, navigationBar().get());
    layoutContent();
}

void NavigationController::updateBarItems() {
    std::vector<std::shared_ptr<NavigationItem>> items;
    for (auto& controller : stack_)
        items.push_back(controller->navigationItem());
    navigationBar()->setItems(std::move(items));
    if (isViewLoaded())
        layoutContent();
}

const std::shared_ptr<NavigationBar>& NavigationController::navigationBar() {
    if (!navigationBar_) {
        navigationBar_ = std::make_shared<NavigationBar>();
        std::weak_ptr<ViewController> weakSelf = weak_from_this();
        navigationBar_->setBackAction([weakSelf] {
            if (auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock()))
                self->pop(true);
        });
    }
    return navigationBar_;
}

void NavigationController::setNavigationBarHidden(bool hidden, bool) {
    barHidden_ = hidden;
    navigationBar()->setHidden(hidden);
    if (isViewLoaded())
        layoutContent();
}

StatusBarStyle NavigationController::preferredStatusBarStyle() const {
    if (navigationBar_ && navigationBar_->barStyle() == BarStyle::black)
        return StatusBarStyle::lightContent;
    return StatusBarStyle::defaultStyle;
}

void NavigationController::loadView() {
    auto container = std::make_shared<ViewControllerContainerView>(Screen::main().bounds());
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    container->setLayoutHandler([weakSelf] {
        if (auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock()))
            self->layoutContent();
    });
    setView(container);
    container->addSubview(navigationBar());
    if (auto top = topViewController())
        installView(top);
    layoutContent();
}

std::vector<std::shared_ptr<ViewController>> NavigationController::childrenForAppearance() const {
    if (auto top = topViewController())
        return {top};
    return {};
}

void NavigationController::layoutContent() {
    auto container = viewIfLoaded();
    if (!container)
        return;
    auto& bar = navigationBar();
    double width = container->bounds().width();
    Size barSize = bar->sizeThatFits({width, 0});
    bar->setFrame({0, container->safeAreaInsets().top, width, barSize.height});
    std::static_pointer_cast<ViewControllerContainerView>(container)->setBarInsets(
        {barHidden_ ? 0 : bar->frame().maxY(), 0, 0, 0});
    if (auto top = topViewController(); top && top->viewIfLoaded())
        top->viewIfLoaded()->setFrame(frameForChild(*top));
}

Rect NavigationController::frameForChild(const ViewController& child) const {
    Rect bounds = viewIfLoaded()->bounds();
    if (barHidden_)
        return bounds;
    bool extendsUnderBar =
        (child.edgesForExtendedLayout() & RectEdge::top) &&
        (navigationBar_->isTranslucent() || child.extendedLayoutIncludesOpaqueBars());
    if (extendsUnderBar)
        return bounds;
    double barBottom = navigationBar_->frame().maxY();
    return {0, barBottom, bounds.width(), std::max(0.0, bounds.height() - barBottom)};
}

}  // namespace uikit
