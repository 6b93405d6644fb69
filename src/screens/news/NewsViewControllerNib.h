#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "NewsViewController": a title bar with the "Done" button over the list of news.
class NewsViewControllerNib {
  public:
    static constexpr double kTitleBarHeight = 64;

    // Registers the builder; later calls change nothing.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
