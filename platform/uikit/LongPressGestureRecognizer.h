#pragma once

#include "foundation/RunLoop.h"
#include "uikit/GestureRecognizer.h"

namespace uikit {

// Begins once a finger has stayed down for the minimum duration (on the run loop's clock)
// without moving further than allowed; changes as it moves and ends when it lifts. A lift or a
// wander before then fails it.
class LongPressGestureRecognizer : public GestureRecognizer {
  public:
    using GestureRecognizer::GestureRecognizer;
    ~LongPressGestureRecognizer() override;

    double minimumPressDuration() const { return minimumPressDuration_; }
    void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }
    double allowableMovement() const { return allowableMovement_; }
    void setAllowableMovement(double points) { allowableMovement_ = points; }
    int numberOfTouchesRequired() const { return touchesRequired_; }
    void setNumberOfTouchesRequired(int touches) { touchesRequired_ = touches; }
    int numberOfTapsRequired() const { return tapsRequired_; }
    void setNumberOfTapsRequired(int taps) { tapsRequired_ = taps; }

    void touchesBegan(const std::vector<Touch>& touches) override;
    void touchesMoved(const std::vector<Touch>& touches) override;
    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;
    void reset() override;

  private:
    void cancelTimer();
    bool wandered() const;

    double minimumPressDuration_ = 0.5;
    double allowableMovement_ = 10;
    int touchesRequired_ = 1;
    int tapsRequired_ = 0;
    foundation::RunLoop::TimerID timer_ = 0;
};

}  // namespace uikit
