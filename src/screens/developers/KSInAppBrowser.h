#pragma once

#include <optional>
#include <string>

#include "foundation/URL.h"
#include "uikit/ViewController.h"

namespace corvane {

// Opens a developer's web pages in the in-app browser, pushed over the screen that asks; only
// web addresses are ever offered or opened.
class KSInAppBrowser {
  public:
    static bool canOpen(const std::optional<foundation::URL>& url);
    static void push(uikit::ViewController& from, const std::optional<foundation::URL>& url,
                     const std::string& title);
};

}  // namespace corvane
