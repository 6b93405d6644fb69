#pragma once

namespace uikit {

class SafariViewController;

// Told when the person closes the in-app browser.
class SafariViewControllerDelegate {
  public:
    virtual ~SafariViewControllerDelegate() = default;
    // After the browser has been dismissed.
    virtual void safariViewControllerDidFinish(SafariViewController& controller) {}
};

}  // namespace uikit
