#pragma once

#include "uikit/TabBarController.h"

namespace corvane {

// The root of the window, built by the storyboard "Main" (KSMainStoryboard). The application
// delegate finds the sources screen at tab kSourcesTabIndex and the search screen at
// kSearchTabIndex.
class KSTabBarController : public uikit::TabBarController {
  public:
    static constexpr std::size_t kSourcesTabIndex = 3;
    static constexpr std::size_t kSearchTabIndex = 4;
};

}  // namespace corvane
