#pragma once

#include <memory>

#include "screens/website/WebDepictionOutlets.h"
#include "uikit/View.h"

namespace corvane {

// The nib "WebDepictionViewController": the progress bar under the navigation bar over one
// scroll view, whose column holds the header (icon, name, maintainer, Get and share buttons),
// the size, version and category rows, and the container of the web page.
class WebDepictionNib {
  public:
    static constexpr const char* kNibName = "WebDepictionViewController";
    static constexpr double kMargin = 16;
    static constexpr double kButtonHeight = 30;
    static constexpr double kPlaceholderHeight = 200;

    // Makes the nib known; later calls change nothing.
    static void registerNib();
    // The page's view tree; the outlets are set on the owner.
    static std::shared_ptr<uikit::View> build(WebDepictionOutlets& outlets);
};

}  // namespace corvane
