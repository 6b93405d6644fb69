#include "framework/repostore/KSRepoStoreBrowser.h"

#include <utility>

#include "uikit/Application.h"
#include "uikit/Window.h"

namespace corvane {

bool KSRepoStoreBrowser::open(const foundation::URL& url, ClosedHandler onClosed) {
    auto browser = uikit::SafariViewController::create(url);
    if (!browser || !topmostPresenter())
        return false;
    browser->setDelegate(weak_from_this());
    close();
    browser_ = browser;
    onClosed_ = std::move(onClosed);
    auto show = [browser] {
        if (auto presenter = topmostPresenter())
            presenter->present(browser, true);
    };
    if (leaving_)
        showAfterDismissal_ = std::move(show);
    else
        show();
    return true;
}

void KSRepoStoreBrowser::close() {
    onClosed_ = {};
    showAfterDismissal_ = {};
    auto browser = std::exchange(browser_, nullptr);
    if (!browser || !browser->presentingViewController())
        return;
    leaving_ = browser;
    // Closed by the person's Done already: safariViewControllerDidFinish follows.
    if (browser->isBeingDismissed())
        return;
    std::weak_ptr<KSRepoStoreBrowser> weakSelf = weak_from_this();
    browser->dismiss(true, [weakSelf, leaving = browser.get()] {
        if (auto self = weakSelf.lock(); self && self->leaving_.get() == leaving)
            self->afterDismissal();
    });
}

void KSRepoStoreBrowser::afterDismissal() {
    leaving_.reset();
    if (auto show = std::exchange(showAfterDismissal_, {}))
        show();
}

void KSRepoStoreBrowser::safariViewControllerDidFinish(uikit::SafariViewController& controller) {
    if (&controller == leaving_.get())
        return afterDismissal();
    if (&controller != browser_.get())
        return;
    browser_.reset();
    if (auto onClosed = std::exchange(onClosed_, {}))
        onClosed();
}

std::shared_ptr<uikit::ViewController> KSRepoStoreBrowser::topmostPresenter() {
    auto window = uikit::Application::shared().keyWindow();
    return window ? window->topmostPresentedViewController() : nullptr;
}

}  // namespace corvane
