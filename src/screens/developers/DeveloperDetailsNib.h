#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "DeveloperDetailsViewController": the developer's picture, name and biography, and
// the buttons to their packages, website and Twitter page.
class DeveloperDetailsNib {
  public:
    // Registers the builder; later calls change nothing.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
