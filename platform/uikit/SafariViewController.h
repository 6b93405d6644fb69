#pragma once

#include <memory>
#include <optional>

#include "foundation/URL.h"
#include "uikit/Button.h"
#include "uikit/Color.h"
#include "uikit/SafariViewControllerDelegate.h"
#include "uikit/ViewController.h"

namespace uikit {

// The in-app browser for one web page, with a Done button that closes it. Only http and https
// pages: create() refuses every other scheme (javascript:, file:, data:, ...).
class SafariViewController : public ViewController {
    struct Token {
        explicit Token() = default;
    };

  public:
    // Null for a URL that is not http or https.
    static std::shared_ptr<SafariViewController> create(const foundation::URL& url);
    SafariViewController(Token, foundation::URL url);

    const foundation::URL& url() const { return url_; }
    std::shared_ptr<SafariViewControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<SafariViewControllerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    const std::optional<Color>& preferredBarTintColor() const { return barTintColor_; }
    void setPreferredBarTintColor(std::optional<Color> color) { barTintColor_ = color; }
    const std::optional<Color>& preferredControlTintColor() const { return controlTintColor_; }
    void setPreferredControlTintColor(std::optional<Color> color) { controlTintColor_ = color; }

    // The button that closes the browser.
    std::shared_ptr<Button> doneButton();

  protected:
    void loadView() override;

  private:
    void done();

    foundation::URL url_;
    std::weak_ptr<SafariViewControllerDelegate> delegate_;
    std::optional<Color> barTintColor_;
    std::optional<Color> controlTintColor_;
    std::shared_ptr<Button> doneButton_;
};

}  // namespace uikit
