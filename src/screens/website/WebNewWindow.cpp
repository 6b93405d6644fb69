#include "screens/website/WebNewWindow.h"

#include "foundation/Log.h"
#include "framework/network/KSFetchableURL.h"
#include "uikit/Application.h"

namespace corvane {

std::shared_ptr<webkit::WebView> WebNewWindow::openInPlace(webkit::WebView& webView,
                                                           const webkit::NavigationAction& action) {
    if (action.targetFrame && action.targetFrame->isMainFrame)
        return nullptr;
    if (!KSFetchableURL::isFetchable(action.request.url)) {
        KSLog("A new window for %@ is not opened: not a web address",
              action.request.url.absoluteString());
        return nullptr;
    }
    uikit::Application::shared().setNetworkActivityIndicatorVisible(true);
    webView.loadRequest(action.request);
    return nullptr;
}

}  // namespace corvane
