#pragma once

#include <string>

namespace corvane {

// What the review form tells the screen that opened it: a review was stored and posted, or it
// reads like a bug report and the opener should warn instead of posting.
class LeaveReviewDelegate {
  public:
    virtual ~LeaveReviewDelegate() = default;

    virtual void updateRatingInfo() = 0;
    virtual void showReviewWarningWithTitle(const std::string& title, const std::string& text,
                                            int rate) = 0;
};

}  // namespace corvane
