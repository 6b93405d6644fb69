#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "WebViewViewController": the screen's view with the load-progress bar along its top;
// the web view itself is added on the first appearance.
class WebViewNib {
  public:
    static constexpr double kProgressHeight = 2;

    // Registers the builder; later calls change nothing.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
