#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "SourceViewController": a table over the whole screen, and the two headers the page
// puts on top of it, the source's own (icon, name, address, description, state) and the form
// that adds one (address field, "Add Source" button, the refusal's message).
class SourceViewControllerNib {
  public:
    static constexpr double kInset = 16;
    static constexpr double kIconSize = 60;
    static constexpr double kFormHeight = 150;

    // Registers the builder; later calls change nothing.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
