#include "uikit/ViewController.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <typeinfo>
#include <utility>

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "uikit/Application.h"
#include "uikit/Device.h"
#include "uikit/NavigationController.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"
#include "uikit/TabBarController.h"
#include "uikit/Window.h"

namespace uikit {

namespace {

std::string nameOf(const ViewController& controller) {
    const char* mangled = typeid(controller).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && readable ? readable.get() : mangled;
}

constexpr Size kFormSheetSize{540, 620};
constexpr Size kPopoverSize{320, 400};

Rect centred(Size size, const Rect& bounds) {
    double width = std::min(size.width, bounds.width());
    double height = std::min(size.height, bounds.height());
    return {bounds.midX() - width / 2, bounds.midY() - height / 2, width, height};
}

}  // namespace

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
    auto root = rootAncestor();
    return root->presentation_ ? root->presentation_->controller : nullptr;
}

std::shared_ptr<ViewController> ViewController::presentingViewController() const {
    return rootAncestor()->presenting_.lock();
}

std::shared_ptr<PopoverPresentationController> ViewController::popoverPresentationController() {
    if (modalPresentationStyle_ != ModalPresentationStyle::popover)
        return nullptr;
    if (!popover_)
        popover_ = std::make_shared<PopoverPresentationController>();
    return popover_;
}

bool ViewController::refusesPresentation(const ViewController& host,
                                         const ViewController& controller) const {
    if (controller.presenting_.lock() || controller.parent() || controller.window_.lock() ||
        &controller == &host) {
        foundation::logPlain("Attempt to present " + nameOf(controller) +
                             ", which is already shown elsewhere");
        return true;
    }
    if (host.beingDismissed_) {
        foundation::logPlain("Attempt to present " + nameOf(controller) + " on " + nameOf(host) +
                             ", which is being dismissed");
        return true;
    }
    if (host.presentation_ && !host.presentation_->controller->beingDismissed_) {
        foundation::logPlain("Attempt to present " + nameOf(controller) + " on " + nameOf(host) +
                             ", which is already presenting " +
                             nameOf(*host.presentation_->controller));
        return true;
    }
    return false;
}

void ViewController::present(const std::shared_ptr<ViewController>& controller, bool animated,
                             Completion completion) {
    auto host = rootAncestor();
    if (!controller || refusesPresentation(*host, *controller))
        return;
    // A dismissal still running ends now, so the new presentation starts from a settled state.
    host->presentationTransition_.finishNow();

    host->presentation_ = Presentation{};
    auto& presentation = *host->presentation_;
    presentation.controller = controller;
    presentation.coversPresenter =
        controller->modalPresentationStyle_ == ModalPresentationStyle::fullScreen;
    presentation.presenterWasVisible = host->isVisible();
    controller->presenting_ = host;
    controller->beingPresented_ = true;
    controller->updateTraits();
    host->showPresentedView(*controller);

    controller->beginAppearanceTransition(true, animated);
    bool hidesPresenter = presentation.coversPresenter && presentation.presenterWasVisible;
    if (hidesPresenter)
        host->beginAppearanceTransition(false, animated);

    host->presentationTransition_.start(
        animated, [host, controller, hidesPresenter, completion = std::move(completion)] {
            controller->beingPresented_ = false;
            if (host->presentation_ && host->presentation_->coversPresenter)
                host->coverForPresentation(*host->presentation_);
            controller->endAppearanceTransition();
            if (hidesPresenter)
                host->endAppearanceTransition();
            if (auto window = host->containingWindow())
                window->updateStatusBarAppearance();
            if (completion)
                completion();
        });
}

Rect ViewController::frameForPresentation(const Rect& windowBounds) const {
    bool pad = Device::current().userInterfaceIdiom() == UserInterfaceIdiom::pad;
    if (!pad)
        return windowBounds;
    switch (modalPresentationStyle_) {
        case ModalPresentationStyle::formSheet:
            return centred(kFormSheetSize, windowBounds);
        case ModalPresentationStyle::popover:
            return popoverFrame(windowBounds);
        default:
            return windowBounds;
    }
}

Rect ViewController::popoverFrame(const Rect& windowBounds) const {
    std::shared_ptr<View> anchor;
    Rect anchorRect;
    if (popover_ && popover_->sourceView()) {
        anchor = popover_->sourceView();
        anchorRect = popover_->sourceRect();
    } else if (auto item = popover_ ? popover_->barButtonItem() : nullptr) {
        anchor = item->shownView();
        if (anchor)
            anchorRect = anchor->bounds();
    }
    auto window = anchor ? anchor->window() : nullptr;
    if (!window) {
        foundation::logPlain("A popover of " + nameOf(*this) +
                             " has no source view or bar button item on screen; it is centred");
        return centred(kPopoverSize, windowBounds);
    }
    Rect inWindow = anchor->convertRectTo(anchorRect, window.get());
    double width = std::min(kPopoverSize.width, windowBounds.width());
    double x = std::clamp(inWindow.midX() - width / 2, 0.0, windowBounds.width() - width);
    double y = std::min(inWindow.maxY(), windowBounds.height());
    return {x, y, width, std::min(kPopoverSize.height, windowBounds.height() - y)};
}

void ViewController::showPresentedView(ViewController& controller) {
    auto window = containingWindow();
    auto view = controller.view();
    if (!window)
        return;
    view->setFrame(controller.frameForPresentation(window->bounds()));
    window->addSubview(view);
}

void ViewController::coverForPresentation(Presentation& presentation) {
    if (!view_)
        return;
    auto superview = view_->superview();
    if (!superview)
        return;
    const auto& siblings = superview->subviews();
    auto found = std::find(siblings.begin(), siblings.end(), view_);
    presentation.presenterSuperview = superview;
    presentation.presenterIndex = static_cast<std::size_t>(found - siblings.begin());
    view_->removeFromSuperview();
}

void ViewController::uncoverAfterPresentation(Presentation& presentation, bool animated) {
    if (auto superview = presentation.presenterSuperview.lock(); superview && view_) {
        auto index = std::min(presentation.presenterIndex, superview->subviews().size());
        superview->insertSubview(view_, index);
    }
    if (presentation.presenterWasVisible)
        beginAppearanceTransition(true, animated);
}

std::vector<std::shared_ptr<ViewController>> ViewController::presentationChain() const {
    std::vector<std::shared_ptr<ViewController>> chain;
    for (auto controller = presentation_ ? presentation_->controller : nullptr; controller;
         controller = controller->presentation_ ? controller->presentation_->controller : nullptr)
        chain.push_back(controller);
    return chain;
}

void ViewController::dismiss(bool animated, Completion completion) {
    auto root = rootAncestor();
    std::shared_ptr<ViewController> host;
    if (root->presentation_) {
        host = root;
    } else {
        host = root->presenting_.lock();
    }
    if (!host) {
        // Nothing to dismiss; the caller's continuation still runs, as after a dismissal.
        if (completion)
            foundation::runAsyncOnMain(std::move(completion));
        return;
    }
    host->endPresentation(animated, std::move(completion));
}

void ViewController::endPresentation(bool animated, Completion completion) {
    auto presented = presentation_->controller;
    if (presented->beingDismissed_) {
        foundation::logPlain("Attempt to dismiss " + nameOf(*presented) +
                             " while its dismissal is in progress");
        return;
    }
    auto host = shared_from_this();
    for (auto& controller : presentationChain())
        controller->presentationTransition_.finishNow();
    presentationTransition_.finishNow();
    // A presentation's completion that ran just now may have dismissed it already.
    if (!presentation_ || presentation_->controller->beingDismissed_) {
        foundation::logPlain("Attempt to dismiss " + nameOf(*presented) +
                             " while its dismissal is in progress");
        return;
    }
    auto chain = presentationChain();

    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->beingDismissed_ = true;
        (*it)->beginAppearanceTransition(false, animated);
    }
    bool covered = presentation_->coversPresenter;
    bool showsPresenter = covered && presentation_->presenterWasVisible;
    if (covered)
        uncoverAfterPresentation(*presentation_, animated);

    presentationTransition_.start(
        animated, [host, chain, showsPresenter, completion = std::move(completion)] {
            for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
                if (auto view = (*it)->viewIfLoaded())
                    view->removeFromSuperview();
                (*it)->presentation_.reset();
                (*it)->presenting_.reset();
                (*it)->beingDismissed_ = false;
            }
            host->presentation_.reset();
            for (auto it = chain.rbegin(); it != chain.rend(); ++it)
                (*it)->endAppearanceTransition();
            if (showsPresenter)
                host->endAppearanceTransition();
            if (auto window = host->containingWindow())
                window->updateStatusBarAppearance();
            if (completion)
                completion();
        });
}

void ViewController::tearDownPresentations() {
    presentationTransition_.finishNow();
    auto chain = presentationChain();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->presentationTransition_.finishNow();
        (*it)->beginAppearanceTransition(false, false);
        if (auto view = (*it)->viewIfLoaded())
            view->removeFromSuperview();
        (*it)->endAppearanceTransition();
        (*it)->presentation_.reset();
        (*it)->presenting_.reset();
    }
    if (presentation_) {
        if (auto superview = presentation_->presenterSuperview.lock(); superview && view_)
            superview->insertSubview(
                view_, std::min(presentation_->presenterIndex, superview->subviews().size()));
        presentation_.reset();
    }
}

std::shared_ptr<Window> ViewController::containingWindow() const {
    auto root = rootAncestor();
    if (auto window = root->window_.lock())
        return window;
    if (auto presenter = root->presenting_.lock())
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
    if (auto presenter = presenting_.lock())
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
    if (presentation_)
        presentation_->controller->updateTraits();
}

void ViewController::setNeedsStatusBarAppearanceUpdate() {
    if (auto window = containingWindow())
        window->updateStatusBarAppearance();
}

void ViewController::viewWillTransitionToSize(Size size) {
    for (auto& child : std::vector(children_))
        child->viewWillTransitionToSize(size);
    if (presentation_)
        presentation_->controller->viewWillTransitionToSize(size);
}

}  // namespace uikit
