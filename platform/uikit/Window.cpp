#include "uikit/Window.h"

#include <utility>

#include "uikit/Application.h"
#include "uikit/Canvas.h"
#include "uikit/Screen.h"

namespace uikit {

Window::Window() : Window(Screen::main().bounds()) {}

Window::Window(const Rect& frame) : View(frame) {
    setHidden(true);
    setSafeAreaInsets(EdgeInsets{kStatusBarHeight, 0, 0, 0});
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (controller == root_)
        return;
    bool visible = !isHidden();
    if (auto old = std::exchange(root_, nullptr)) {
        old->presentations_.tearDown();
        if (visible)
            old->beginAppearanceTransition(false, false);
        if (old->viewIfLoaded())
            old->viewIfLoaded()->removeFromSuperview();
        old->window_.reset();
        if (visible)
            old->endAppearanceTransition();
    }
    root_ = std::move(controller);
    if (root_) {
        root_->window_ = std::static_pointer_cast<Window>(shared_from_this());
        auto view = root_->view();
        view->setFrame(bounds());
        insertSubview(view, 0);
        root_->updateTraits();
        if (visible) {
            root_->beginAppearanceTransition(true, false);
            root_->endAppearanceTransition();
        }
    }
    updateStatusBarAppearance();
}

void Window::makeKeyAndVisible() {
    Application::shared().setKeyWindow(std::static_pointer_cast<Window>(shared_from_this()));
    if (!isHidden())
        return;
    setHidden(false);
    if (root_) {
        root_->beginAppearanceTransition(true, false);
        root_->endAppearanceTransition();
    }
    updateStatusBarAppearance();
}

bool Window::isKeyWindow() const {
    return Application::shared().keyWindow().get() == this;
}

void Window::setOverrideUserInterfaceStyle(UserInterfaceStyle style) {
    overrideStyle_ = style;
    updateTraits();
}

TraitCollection Window::traitCollection() const {
    if (overrideStyle_ != UserInterfaceStyle::unspecified)
        return TraitCollection(overrideStyle_);
    return TraitCollection(Application::shared().systemUserInterfaceStyle());
}

void Window::updateTraits() {
    if (root_)
        root_->updateTraits();
}

std::shared_ptr<ViewController> Window::controllerForStatusBar() const {
    auto controller = root_;
    while (controller) {
        auto presented = controller->presentedViewController();
        if (presented &&
            presented->modalPresentationStyle() == ModalPresentationStyle::fullScreen) {
            controller = presented;
        } else if (auto child = controller->childViewControllerForStatusBarStyle()) {
            controller = child;
        } else {
            break;
        }
    }
    return controller;
}

void Window::updateStatusBarAppearance() {
    auto controller = controllerForStatusBar();
    statusBarStyle_ =
        controller ? controller->preferredStatusBarStyle() : StatusBarStyle::defaultStyle;
}

void Window::transitionToSize(Size size) {
    if (root_)
        root_->viewWillTransitionToSize(size);
    setFrame(Rect{frame().origin, size});
    layoutIfNeeded();
}

void Window::layoutSubviews() {
    if (!root_)
        return;
    if (auto view = root_->viewIfLoaded(); view && view->superview().get() == this)
        view->setFrame(bounds());
    for (auto presented = root_->presentedViewController(); presented;
         presented = presented->presentedViewController()) {
        auto view = presented->viewIfLoaded();
        if (view && view->superview().get() == this)
            view->setFrame(PresentationStack::frameForPresented(*presented, bounds()));
    }
}

std::shared_ptr<ViewController> Window::topmostPresentedViewController() const {
    auto presenter = rootViewController();
    while (presenter) {
        auto presented = presenter->presentedViewController();
        if (!presented || presented->isBeingDismissed())
            break;
        presenter = presented;
    }
    return presenter;
}

void Window::draw(Canvas& canvas) {
    if (!backgroundColor())
        canvas.fill(bounds(), Color::black());
}

}  // namespace uikit
