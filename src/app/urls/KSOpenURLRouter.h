#pragma once

#include <memory>
#include <string_view>

#include "app/presentations/KSPresenter.h"
#include "app/urls/KSURLSchemeTask.h"
#include "foundation/URL.h"
#include "foundation/Value.h"

namespace corvane {

// Sorts every URL that another application hands over into one of three roads: a payment
// callback of the in-app browser for the payment client, a ".deb" archive for the imported
// archive screen, and everything else for the URL-scheme task. Schemes are compared as schemes.
// Main thread.
class KSOpenURLRouter {
  public:
    // The platform's in-app browser service: the only application whose payment callbacks count.
    static constexpr std::string_view kInAppBrowserService = "com.apple.SafariViewService";

    KSOpenURLRouter(std::shared_ptr<KSPresenter> presenter,
                    std::shared_ptr<KSURLSchemeTask> schemeTask);

    // Always true, whatever the road and whether anything came of it.
    bool openURL(const foundation::URL& url, const foundation::Value& options);

  private:
    static void paymentCallback(const foundation::URL& url, const foundation::Value& options);
    void importArchive(const foundation::URL& url);

    std::shared_ptr<KSPresenter> presenter_;
    std::shared_ptr<KSURLSchemeTask> schemeTask_;
};

}  // namespace corvane
