#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "PackagesConfirmationViewController": the list of the queue over the whole screen but
// a strip along the bottom that holds the wide Confirm button.
class PackagesConfirmationViewControllerNib {
  public:
    static constexpr double kButtonHeight = 50;
    static constexpr double kButtonInset = 16;

    // Registers the builder; later calls change nothing.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
