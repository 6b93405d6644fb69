#include "app/urls/KSOpenURLRouter.h"

#include "foundation/Log.h"
#include "framework/links/KSLoggedURL.h"
#include "framework/repostore/KSRepoStoreAPI.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/Application.h"
#include "uikit/NavigationController.h"

namespace corvane {

KSOpenURLRouter::KSOpenURLRouter(std::shared_ptr<KSPresenter> presenter,
                                 std::shared_ptr<KSURLSchemeTask> schemeTask)
    : presenter_(std::move(presenter)), schemeTask_(std::move(schemeTask)) {}

bool KSOpenURLRouter::openURL(const foundation::URL& url, const foundation::Value& options) {
    if (url.scheme() == KSRepoStoreAPI::kCallbackScheme) {
        paymentCallback(url, options);
    } else if (url.isFileURL() && url.pathExtension() == "deb") {
        importArchive(url);
    } else {
        schemeTask_->setURL(url);
        schemeTask_->doQueuedSchemeTask();
    }
    return true;
}

// Anyone can open a URL of this scheme; only the browser that the payment client opened
// itself speaks for the repository. The client then takes a callback only for a flow it
// started.
void KSOpenURLRouter::paymentCallback(const foundation::URL& url,
                                      const foundation::Value& options) {
    const auto source = options[uikit::Application::kOpenURLOptionsSourceApplicationKey];
    if (source.stringValue() != kInAppBrowserService) {
        KSLog("Ignored the payment callback \"%@\": it did not come from the in-app browser",
              KSLoggedURL::text(url.absoluteString()));
        return;
    }
    auto& store = KSRepoStoreAPI::sharedRepoStore();
    if (url.host() == KSRepoStoreAPI::kAuthenticationSuccessHost)
        store.signinAuthenticationCallBackHandler(url);
    else if (url.host() == KSRepoStoreAPI::kPaymentCompletedHost)
        store.purchaseCompletedCallbackHandler();
    else
        KSLog("Ignored the payment callback \"%@\": its host is none of the payment client's",
              KSLoggedURL::text(url.absoluteString()));
}

// Presented over whatever is on screen: from the tab bar alone it would be refused while
// something else is presented.
void KSOpenURLRouter::importArchive(const foundation::URL& url) {
    KSScreenFactory::Request request;
    request.archivePath = url.path();
    auto screen = KSScreenFactory::make(KSScreenFactory::Screen::importedArchive, request);
    if (!screen || !presenter_->presentInNavigationController(screen))
        KSLog("Nothing was shown for the archive \"%@\"", KSLoggedURL::text(url.absoluteString()));
}

}  // namespace corvane
