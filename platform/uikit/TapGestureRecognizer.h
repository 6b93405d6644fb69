#pragma once

#include "uikit/GestureRecognizer.h"

namespace uikit {

// Recognises when a finger lifts after the required number of taps without wandering.
class TapGestureRecognizer : public GestureRecognizer {
  public:
    static constexpr double kAllowableMovement = 10;
    // A finger held longer than this is no tap.
    static constexpr double kMaximumPressDuration = 0.75;

    using GestureRecognizer::GestureRecognizer;

    int numberOfTapsRequired() const { return tapsRequired_; }
    void setNumberOfTapsRequired(int taps) { tapsRequired_ = taps; }

    void touchesBegan(const std::vector<Touch>& touches) override;
    void touchesMoved(const std::vector<Touch>& touches) override;
    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;

  private:
    int tapsRequired_ = 1;
    double pressStart_ = 0;
};

}  // namespace uikit
