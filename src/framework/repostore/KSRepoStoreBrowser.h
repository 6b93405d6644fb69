#pragma once

#include <functional>
#include <memory>

#include "foundation/URL.h"
#include "uikit/SafariViewController.h"
#include "uikit/SafariViewControllerDelegate.h"
#include "uikit/ViewController.h"

namespace corvane {

// The in-app browser that shows an endpoint's sign-in and payment pages: one at a time, presented
// from the topmost controller of the key window. Main thread only.
class KSRepoStoreBrowser : public uikit::SafariViewControllerDelegate,
                           public std::enable_shared_from_this<KSRepoStoreBrowser> {
  public:
    using ClosedHandler = std::function<void()>;

    // Replaces a page still shown. False when the address is no web page or no window can show
    // it. onClosed runs when the person closes the browser, never after close().
    bool open(const foundation::URL& url, ClosedHandler onClosed);
    void close();

    void safariViewControllerDidFinish(uikit::SafariViewController& controller) override;

  private:
    static std::shared_ptr<uikit::ViewController> topmostPresenter();
    void afterDismissal();

    std::shared_ptr<uikit::SafariViewController> browser_;
    ClosedHandler onClosed_;
    // A presenter refuses a new page while the last one is still leaving: the next page waits
    // until it has gone.
    std::shared_ptr<uikit::SafariViewController> leaving_;
    std::function<void()> showAfterDismissal_;
};

}  // namespace corvane
