#pragma once

#include <memory>
#include <string>

#include "uikit/ViewController.h"

namespace corvane {

// The storyboard "Main", built in code: the tab bar controller "TabBarVC" with five tabs, each a
// navigation controller: Featured, Categories, Changes, Sources (index 3) and Search (index 4).
class KSMainStoryboard {
  public:
    static constexpr const char* kName = "Main";
    static constexpr const char* kTabBarIdentifier = "TabBarVC";

    // A fresh controller of the identifier; null for an identifier the storyboard lacks.
    static std::shared_ptr<uikit::ViewController> instantiateViewControllerWithIdentifier(
        const std::string& identifier);
    // What the platform loads into the window at launch: "TabBarVC".
    static std::shared_ptr<uikit::ViewController> instantiateInitialViewController();
};

}  // namespace corvane
