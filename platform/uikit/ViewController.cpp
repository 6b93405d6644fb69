#include "uikit/ViewController.h"

#include <typeinfo>
#include <utility>

#include "foundation/Log.h"
#include "uikit/Application.h"
#include "uikit/ClassName.h"
#include "uikit/NavigationController.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"
#include "uikit/TabBarController.h"
#include "uikit/Window.h"

namespace uikit {

ViewController::ViewController(std::string nibName) : nibName_(std::move(nibName)) {}

ViewController::~ViewController() = default;

// The view

std::shared_ptr<View> ViewController::view() {
    loadViewIfNeeded();
    return view_;
}

void ViewController::loadViewIfNeeded() {
    if (view_ || loadingView_)
        return;
    loadingView_ = true;
    loadView();
    if (!view_)
        setView(std::make_shared<View>(Screen::main().bounds()));
    loadingView_ = false;
    if (!reportedTraits_)
        reportedTraits_ = traitCollection();
    viewDidLoad();
}

void ViewController::loadView() {
    if (!nibName_.empty()) {
        if (auto view = NibRegistry::shared().instantiate(nibName_, shared_from_this())) {
            setView(std::move(view));
            return;
        }
        foundation::logPlain("Could not load the nib named \"" + nibName_ +
                             "\"; the controller gets a plain view");
    }
    setView(std::make_shared<View>(Screen::main().bounds()));
}

void ViewController::setView(std::shared_ptr<View> view) {
    if (view_)
        view_->setOwningViewController({});
    view_ = std::move(view);
    if (view_)
        view_->setOwningViewController(weak_from_this());
}

// Title and bar items

void ViewController::setTitle(std::optional<std::string> title) {
    title_ = title;
    navigationItem()->setTitle(title);
    tabBarItem()->setTitle(title);
    // A navigation controller without a title of its own shows its root's in the tab bar.
    auto navigation = std::dynamic_pointer_cast<NavigationController>(parent());
    if (navigation && !navigation->title() && !navigation->viewControllers().empty() &&
        navigation->viewControllers().front().get() == this)
        navigation->tabBarItem()->setTitle(std::move(title));
}

const std::shared_ptr<NavigationItem>& ViewController::navigationItem() {
    if (!navigationItem_) {
        navigationItem_ = std::make_shared<NavigationItem>();
        navigationItem_->setTitle(title_);
    }
    return navigationItem_;
}

const std::shared_ptr<TabBarItem>& ViewController::tabBarItem() {
    if (!tabBarItem_)
        tabBarItem_ = std::make_shared<TabBarItem>(title_, nullptr);
    return tabBarItem_;
}

// Containment

void ViewController::addChild(const std::shared_ptr<ViewController>& child) {
    if (!child || child.get() == this)
        return;
    auto self = shared_from_this();
    if (child->parent() == self)
        return;
    if (child->parent())
        child->removeFromParent();
    child->willMove(self);
    child->parent_ = self;
    children_.push_back(child);
    child->updateTraits();
}

void ViewController::removeFromParent() {
    auto parent = parent_.lock();
    if (!parent)
        return;
    auto keepAlive = shared_from_this();
    std::erase(parent->children_, keepAlive);
    parent_.reset();
    didMove(nullptr);
}

void ViewController::willMove(const std::shared_ptr<ViewController>& parent) {
    if (parent) {
        movingToParent_ = true;
    } else {
        movingFromParent_ = true;
    }
    willMoveToParentViewController(parent);
}

void ViewController::didMove(const std::shared_ptr<ViewController>& parent) {
    didMoveToParentViewController(parent);
    if (parent) {
        movingToParent_ = false;
    } else {
        movingFromParent_ = false;
    }
}

void ViewController::transition(const std::shared_ptr<ViewController>& from,
                                const std::shared_ptr<ViewController>& to, double duration,
                                AnimationOptions options, Animation::Block animations,
                                Animation::Completion completion) {
    auto self = shared_from_this();
    if (!from || !to || from->parent() != self || to->parent() != self) {
        foundation::logPlain("A transition needs two children of the same controller");
        return;
    }
    bool visible = isVisible();
    bool animated = duration > 0;
    if (visible) {
        from->beginAppearanceTransition(false, animated);
        to->beginAppearanceTransition(true, animated);
    }
    auto fromView = from->view();
    if (auto container = fromView->superview(); container && !to->view()->superview()) {
        to->view()->setFrame(fromView->frame());
        container->addSubview(to->view());
    }
    auto finish = [from, to, visible, completion = std::move(completion)](bool finished) {
        if (auto view = from->viewIfLoaded(); view && view->superview())
            view->removeFromSuperview();
        if (visible) {
            from->endAppearanceTransition();
            to->endAppearanceTransition();
        }
        if (completion)
            completion(finished);
    };
    Animation::animate(duration, 0, options, std::move(animations), std::move(finish));
}

std::shared_ptr<NavigationController> ViewController::navigationController() const {
    for (auto controller = parent(); controller; controller = controller->parent())
        if (auto navigation = std::dynamic_pointer_cast<NavigationController>(controller))
            return navigation;
    return nullptr;
}

std::shared_ptr<TabBarController> ViewController::tabBarController() const {
    for (auto controller = parent(); controller; controller = controller->parent())
        if (auto tabs = std::dynamic_pointer_cast<TabBarController>(controller))
            return tabs;
    return nullptr;
}

std::shared_ptr<ViewController> ViewController::rootAncestor() {
    auto controller = shared_from_this();
    while (auto parent = controller->parent())
        controller = parent;
    return controller;
}

std::shared_ptr<const ViewController> ViewController::rootAncestor() const {
    std::shared_ptr<const ViewController> controller = shared_from_this();
    while (auto parent = controller->parent())
        controller = parent;
    return controller;
}

// Presentation

std::shared_ptr<ViewController> ViewController::presentedViewController() const {
    return rootAncestor()->presentations_.presented();
}

std::shared_ptr<ViewController> ViewController::presentingViewController() const {
    return rootAncestor()->presentations_.presenter();
}

std::shared_ptr<PopoverPresentationController> ViewController::popoverPresentationController() {
    if (modalPresentationStyle_ != ModalPresentationStyle::popover)
        return nullptr;
    if (!popover_)
        popover_ = std::make_shared<PopoverPresentationController>();
    return popover_;
}

void ViewController::present(const std::shared_ptr<ViewController>& controller, bool animated,
                             Completion completion) {
    auto host = rootAncestor();
    if (!controller)
        return;
    if (controller->isShownElsewhere() || controller == host) {
        foundation::logPlain("Attempt to present " + className(typeid(*controller)) +
                             ", which is already shown elsewhere");
        return;
    }
    host->presentations_.present(controller->presentations_, animated, std::move(completion));
}

void ViewController::dismiss(bool animated, Completion completion) {
    rootAncestor()->presentations_.dismiss(animated, std::move(completion));
}

bool ViewController::isShownElsewhere() const {
    return presentations_.presenter() || parent() || window_.lock();
}

std::shared_ptr<Window> ViewController::containingWindow() const {
    auto root = rootAncestor();
    if (auto window = root->window_.lock())
        return window;
    if (auto presenter = root->presentations_.presenter())
        return presenter->containingWindow();
    if (root->view_)
        return std::dynamic_pointer_cast<Window>(root->view_->window());
    return nullptr;
}

// Appearance

bool ViewController::isVisible() const {
    return appearance_ == Appearance::appearing || appearance_ == Appearance::appeared;
}

void ViewController::beginAppearanceTransition(bool appearing, bool animated) {
    if (appearing == isVisible())
        return;
    auto keepAlive = shared_from_this();
    if (appearing)
        loadViewIfNeeded();
    appearance_ = appearing ? Appearance::appearing : Appearance::disappearing;
    appearanceAnimated_ = animated;
    if (appearing) {
        viewWillAppear(animated);
    } else {
        viewWillDisappear(animated);
    }
    auto children = childrenForAppearance();
    appearanceChildren_.assign(children.begin(), children.end());
    forwardAppearance(children, true, appearing, animated);
}

void ViewController::endAppearanceTransition() {
    if (appearance_ != Appearance::appearing && appearance_ != Appearance::disappearing)
        return;
    auto keepAlive = shared_from_this();
    bool appearing = appearance_ == Appearance::appearing;
    appearance_ = appearing ? Appearance::appeared : Appearance::disappeared;
    if (appearing) {
        viewDidAppear(appearanceAnimated_);
    } else {
        viewDidDisappear(appearanceAnimated_);
    }
    std::vector<std::shared_ptr<ViewController>> children;
    for (auto& weak : std::exchange(appearanceChildren_, {}))
        if (auto child = weak.lock())
            children.push_back(child);
    forwardAppearance(children, false, appearing, appearanceAnimated_);
}

void ViewController::forwardAppearance(const std::vector<std::shared_ptr<ViewController>>& children,
                                       bool begin, bool appearing, bool animated) {
    for (const auto& child : children) {
        if (begin) {
            child->beginAppearanceTransition(appearing, animated);
        } else {
            child->endAppearanceTransition();
        }
    }
}

std::vector<std::shared_ptr<ViewController>> ViewController::childrenForAppearance() const {
    std::vector<std::shared_ptr<ViewController>> shown;
    for (const auto& child : children_) {
        auto childView = child->viewIfLoaded();
        if (view_ && childView && childView->isDescendantOf(view_.get()))
            shown.push_back(child);
    }
    return shown;
}

// Traits

TraitCollection ViewController::traitCollection() const {
    if (overrideStyle_ != UserInterfaceStyle::unspecified)
        return TraitCollection(overrideStyle_);
    if (auto parent = this->parent())
        return parent->traitCollection();
    if (auto presenter = presentations_.presenter())
        return presenter->traitCollection();
    if (auto window = window_.lock())
        return window->traitCollection();
    return TraitCollection(Application::shared().systemUserInterfaceStyle());
}

void ViewController::setOverrideUserInterfaceStyle(UserInterfaceStyle style) {
    overrideStyle_ = style;
    updateTraits();
}

void ViewController::updateTraits() {
    auto keepAlive = shared_from_this();
    auto current = traitCollection();
    auto previous = std::exchange(reportedTraits_, current);
    if (previous && *previous != current) {
        if (view_)
            view_->propagateTraitCollectionChange();
        traitCollectionDidChange(*previous);
    }
    for (auto& child : std::vector(children_))
        child->updateTraits();
    if (auto presented = presentations_.presented())
        presented->updateTraits();
}

void ViewController::setNeedsStatusBarAppearanceUpdate() {
    if (auto window = containingWindow())
        window->updateStatusBarAppearance();
}

void ViewController::viewWillTransitionToSize(Size size) {
    for (auto& child : std::vector(children_))
        child->viewWillTransitionToSize(size);
    if (auto presented = presentations_.presented())
        presented->viewWillTransitionToSize(size);
}

}  // namespace uikit
