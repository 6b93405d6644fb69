#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "PackagesTableViewController": the list's table and its hidden task progress bar.
class PackagesTableViewControllerNib {
  public:
    // Registers the builder once; later calls leave the registration alone.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
