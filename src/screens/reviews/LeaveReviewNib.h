#pragma once

#include <memory>

#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib "LeaveReviewViewController": a card over a dimmed screen with the heading, five stars,
// the title field, the review text and the "Cancel" and "Submit" buttons.
class LeaveReviewNib {
  public:
    static constexpr double kStarSize = 32;

    // Registers the builder; later calls change nothing.
    static void registerNib();

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>& owner);
};

}  // namespace corvane
