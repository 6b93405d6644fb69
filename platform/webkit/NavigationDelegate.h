#pragma once

#include <functional>

#include "foundation/Error.h"
#include "webkit/NavigationAction.h"
#include "webkit/NavigationPolicy.h"
#include "webkit/NavigationResponse.h"

namespace webkit {

class WebView;

// Asked about a web view's navigations and told how they go; every method is optional. A
// decision handler may be called later, but only its first call counts, and a navigation
// waits until it is called.
class NavigationDelegate {
  public:
    using DecisionHandler = std::function<void(NavigationPolicy policy)>;

    virtual ~NavigationDelegate() = default;

    // Every navigation, whatever its URL; only http, https, about:blank and HTML handed to the
    // web view are ever loaded after an allow.
    virtual void decidePolicyForNavigationAction(WebView& webView, const NavigationAction& action,
                                                 DecisionHandler decisionHandler) {
        decisionHandler(NavigationPolicy::allow);
    }
    virtual void decidePolicyForNavigationResponse(WebView& webView,
                                                   const NavigationResponse& response,
                                                   DecisionHandler decisionHandler) {
        decisionHandler(NavigationPolicy::allow);
    }
    // The page is being fetched.
    virtual void didStartProvisionalNavigation(WebView& webView) {}
    // The page is shown.
    virtual void didFinishNavigation(WebView& webView) {}
    // Failed before the page was shown: the fetch failed, the URL cannot be loaded, the response
    // was refused, or the navigation was stopped or replaced by another.
    virtual void didFailProvisionalNavigation(WebView& webView, const foundation::Error& error) {}
    // Stopped or replaced after the page was shown but before it finished.
    virtual void didFailNavigation(WebView& webView, const foundation::Error& error) {}
};

}  // namespace webkit
