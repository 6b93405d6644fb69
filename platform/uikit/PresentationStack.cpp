#include "uikit/PresentationStack.h"

#include <algorithm>
#include <string>
#include <utility>

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "uikit/BarButtonItem.h"
#include "uikit/ClassName.h"
#include "uikit/Device.h"
#include "uikit/PopoverPresentationController.h"
#include "uikit/ViewController.h"
#include "uikit/Window.h"

namespace uikit {

namespace {

constexpr Size kFormSheetSize{540, 620};
constexpr Size kPopoverSize{320, 400};

std::string nameOf(const ViewController& controller) {
    return className(typeid(controller));
}

Rect centred(Size size, const Rect& bounds) {
    double width = std::min(size.width, bounds.width());
    double height = std::min(size.height, bounds.height());
    return {bounds.midX() - width / 2, bounds.midY() - height / 2, width, height};
}

// Below its source view or bar button item, within the window.
Rect popoverFrame(ViewController& controller, const Rect& windowBounds) {
    auto popover = controller.popoverPresentationController();
    std::shared_ptr<View> anchor;
    Rect anchorRect;
    if (popover && popover->sourceView()) {
        anchor = popover->sourceView();
        anchorRect = popover->sourceRect();
    } else if (auto item = popover ? popover->barButtonItem() : nullptr) {
        anchor = item->shownView();
        if (anchor)
            anchorRect = anchor->bounds();
    }
    auto window = anchor ? anchor->window() : nullptr;
    if (!window) {
        foundation::logPlain("A popover of " + nameOf(controller) +
                             " has no source view or bar button item on screen; it is centred");
        return centred(kPopoverSize, windowBounds);
    }
    Rect inWindow = anchor->convertRectTo(anchorRect, window.get());
    double width = std::min(kPopoverSize.width, windowBounds.width());
    double x = std::clamp(inWindow.midX() - width / 2, 0.0, windowBounds.width() - width);
    double y = std::min(inWindow.maxY(), windowBounds.height());
    return {x, y, width, std::min(kPopoverSize.height, windowBounds.height() - y)};
}

void logDismissalInProgress(const ViewController& presented) {
    foundation::logPlain("Attempt to dismiss " + nameOf(presented) +
                         " while its dismissal is in progress");
}

}  // namespace

Rect PresentationStack::frameForPresented(ViewController& controller, const Rect& windowBounds) {
    bool pad = Device::current().userInterfaceIdiom() == UserInterfaceIdiom::pad;
    if (!pad)
        return windowBounds;
    switch (controller.modalPresentationStyle()) {
        case ModalPresentationStyle::formSheet:
            return centred(kFormSheetSize, windowBounds);
        case ModalPresentationStyle::popover:
            return popoverFrame(controller, windowBounds);
        default:
            return windowBounds;
    }
}

std::shared_ptr<ViewController> PresentationStack::presented() const {
    return presented_ ? presented_->place->owner_.shared_from_this() : nullptr;
}

std::shared_ptr<ViewController> PresentationStack::presenter() const {
    auto below = presenter_.lock();
    return below ? below->owner_.shared_from_this() : nullptr;
}

void PresentationStack::present(PresentationStack& above, bool animated, Completion completion) {
    auto& controller = above.owner_;
    if (refuses(controller))
        return;
    // A dismissal still running ends now, so the new presentation starts from a settled state.
    transition_.finishNow();
    auto place = above.handle();
    bool covers = controller.modalPresentationStyle() == ModalPresentationStyle::fullScreen;
    bool wasVisible = owner_.isVisible();
    presented_ = Presented{place, covers, wasVisible};
    above.presenter_ = handle();
    above.beingPresented_ = true;
    controller.updateTraits();
    showPresentedView(controller);

    controller.beginAppearanceTransition(true, animated);
    bool hidesPresenter = covers && wasVisible;
    if (hidesPresenter)
        owner_.beginAppearanceTransition(false, animated);
    transition_.start(animated,
                      [self = handle(), place, hidesPresenter, completion = std::move(completion)] {
                          self->finishPresenting(place, hidesPresenter);
                          if (completion)
                              completion();
                      });
}

void PresentationStack::dismiss(bool animated, Completion completion) {
    if (presented_)
        return end(animated, std::move(completion));
    if (auto below = presenter_.lock())
        return below->end(animated, std::move(completion));
    // Nothing to dismiss; the caller's continuation still runs, as after a dismissal.
    if (completion)
        foundation::runAsyncOnMain(std::move(completion));
}

void PresentationStack::tearDown() {
    transition_.finishNow();
    auto chain = this->chain();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        auto& place = **it;
        place.transition_.finishNow();
        place.owner_.beginAppearanceTransition(false, false);
        if (auto view = place.owner_.viewIfLoaded())
            view->removeFromSuperview();
        place.owner_.endAppearanceTransition();
        place.presented_.reset();
        place.presenter_.reset();
    }
    if (presented_) {
        restoreCoveredView();
        presented_.reset();
    }
}

std::shared_ptr<PresentationStack> PresentationStack::handle() {
    return {owner_.shared_from_this(), this};
}

bool PresentationStack::refuses(const ViewController& controller) const {
    if (beingDismissed_) {
        foundation::logPlain("Attempt to present " + nameOf(controller) + " on " + nameOf(owner_) +
                             ", which is being dismissed");
        return true;
    }
    if (presented_ && !presented_->place->beingDismissed_) {
        foundation::logPlain("Attempt to present " + nameOf(controller) + " on " + nameOf(owner_) +
                             ", which is already presenting " + nameOf(presented_->place->owner_));
        return true;
    }
    return false;
}

void PresentationStack::showPresentedView(ViewController& controller) const {
    auto window = owner_.containingWindow();
    auto view = controller.view();
    if (!window)
        return;
    view->setFrame(frameForPresented(controller, window->bounds()));
    window->addSubview(view);
}

void PresentationStack::finishPresenting(const std::shared_ptr<PresentationStack>& above,
                                         bool hidesPresenter) {
    above->beingPresented_ = false;
    if (presented_ && presented_->coversPresenter)
        cover();
    above->owner_.endAppearanceTransition();
    if (hidesPresenter)
        owner_.endAppearanceTransition();
    if (auto window = owner_.containingWindow())
        window->updateStatusBarAppearance();
}

void PresentationStack::end(bool animated, Completion completion) {
    auto presented = presented_->place;
    if (presented->beingDismissed_)
        return logDismissalInProgress(presented->owner_);
    auto self = handle();
    for (auto& place : chain())
        place->transition_.finishNow();
    transition_.finishNow();
    // A presentation's completion that ran just now may have dismissed it already.
    if (!presented_ || presented_->place->beingDismissed_)
        return logDismissalInProgress(presented->owner_);
    auto chain = this->chain();

    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->beingDismissed_ = true;
        (*it)->owner_.beginAppearanceTransition(false, animated);
    }
    bool covered = presented_->coversPresenter;
    bool showsPresenter = covered && presented_->presenterWasVisible;
    if (covered) {
        restoreCoveredView();
        if (presented_->presenterWasVisible)
            owner_.beginAppearanceTransition(true, animated);
    }
    transition_.start(animated, [self, chain, showsPresenter, completion = std::move(completion)] {
        self->finishDismissing(chain, showsPresenter);
        if (completion)
            completion();
    });
}

void PresentationStack::finishDismissing(
    const std::vector<std::shared_ptr<PresentationStack>>& chain, bool showsPresenter) {
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (auto view = (*it)->owner_.viewIfLoaded())
            view->removeFromSuperview();
        (*it)->presented_.reset();
        (*it)->presenter_.reset();
        (*it)->beingDismissed_ = false;
    }
    presented_.reset();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->owner_.endAppearanceTransition();
    if (showsPresenter)
        owner_.endAppearanceTransition();
    if (auto window = owner_.containingWindow())
        window->updateStatusBarAppearance();
}

std::vector<std::shared_ptr<PresentationStack>> PresentationStack::chain() const {
    std::vector<std::shared_ptr<PresentationStack>> chain;
    for (auto place = presented_ ? presented_->place : nullptr; place;
         place = place->presented_ ? place->presented_->place : nullptr)
        chain.push_back(place);
    return chain;
}

void PresentationStack::cover() {
    auto view = owner_.viewIfLoaded();
    auto superview = view ? view->superview() : nullptr;
    if (!superview)
        return;
    const auto& siblings = superview->subviews();
    auto found = std::find(siblings.begin(), siblings.end(), view);
    presented_->coveredSuperview = superview;
    presented_->coveredIndex = static_cast<std::size_t>(found - siblings.begin());
    view->removeFromSuperview();
}

void PresentationStack::restoreCoveredView() {
    auto superview = presented_->coveredSuperview.lock();
    const auto& view = owner_.viewIfLoaded();
    if (superview && view)
        superview->insertSubview(view,
                                 std::min(presented_->coveredIndex, superview->subviews().size()));
}

}  // namespace uikit
