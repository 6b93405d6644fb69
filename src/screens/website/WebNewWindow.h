#pragma once

#include <memory>

#include "webkit/WebView.h"

namespace corvane {

// What both web screens do with a link that asks for a new window: there is no room for a second
// page, so a web address opens in the page itself, with the network activity indicator on until
// it has loaded; anything else (a script, another scheme) goes nowhere.
class WebNewWindow {
  public:
    // The web view to open, for the UI delegate's answer: always none.
    static std::shared_ptr<webkit::WebView> openInPlace(webkit::WebView& webView,
                                                        const webkit::NavigationAction& action);
};

}  // namespace corvane
