#pragma once

#include <memory>

#include "webkit/NavigationAction.h"
#include "webkit/WebViewConfiguration.h"

namespace webkit {

class WebView;

// Asked when a page wants what only the application can give it; every method is optional.
class UIDelegate {
  public:
    virtual ~UIDelegate() = default;

    // An allowed navigation that asks for a new window. A web view returned (made with the
    // offered configuration) loads the action's request; with none, nothing is loaded.
    virtual std::shared_ptr<WebView> createWebViewWithConfiguration(
        WebView& webView, WebViewConfiguration& configuration, const NavigationAction& action) {
        return nullptr;
    }
};

}  // namespace webkit
