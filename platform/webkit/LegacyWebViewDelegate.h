#pragma once

#include "foundation/Error.h"
#include "foundation/URLRequest.h"
#include "webkit/NavigationType.h"

namespace webkit {

class LegacyWebView;

// Asked about the older web view's loads and told how they go; every method is optional.
class LegacyWebViewDelegate {
  public:
    virtual ~LegacyWebViewDelegate() = default;

    // Every load, whatever its URL; only http, https, about:blank and HTML handed to the web
    // view are ever loaded after a yes.
    virtual bool shouldStartLoadWithRequest(LegacyWebView& webView,
                                            const foundation::URLRequest& request,
                                            NavigationType navigationType) {
        return true;
    }
    virtual void didStartLoad(LegacyWebView& webView) {}
    virtual void didFinishLoad(LegacyWebView& webView) {}
    // The fetch failed, the URL cannot be loaded, or the load was stopped or replaced
    // (URLError::Cancelled).
    virtual void didFailLoadWithError(LegacyWebView& webView, const foundation::Error& error) {}
};

}  // namespace webkit
