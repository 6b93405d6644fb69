#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "PackagesWishlistViewController": the wishlist's table and its hidden task progress
// bar.
class PackagesWishlistViewControllerNib {
  public:
    // Registers the builder once; later calls leave the registration alone.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
