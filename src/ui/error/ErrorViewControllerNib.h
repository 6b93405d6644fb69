#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "ErrorViewController": a dark blur over the whole screen and a card with the title,
// the message and two buttons, whose taps go to the panel's close and otherBtnAction.
class ErrorViewControllerNib {
  public:
    // Registers the builder once; later calls leave the registration alone.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
