#include "screens/developers/KSInAppBrowser.h"

#include "framework/network/KSFetchableURL.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/NavigationController.h"

namespace corvane {

bool KSInAppBrowser::canOpen(const std::optional<foundation::URL>& url) {
    return url && KSFetchableURL::isFetchable(*url);
}

void KSInAppBrowser::push(uikit::ViewController& from, const std::optional<foundation::URL>& url,
                          const std::string& title) {
    auto navigation = from.navigationController();
    if (!canOpen(url) || !navigation)
        return;
    KSScreenFactory::Request request;
    request.title = title;
    request.websiteURL = url;
    if (auto browser = KSScreenFactory::make(KSScreenFactory::Screen::website, request))
        navigation->push(browser, true);
}

}  // namespace corvane
