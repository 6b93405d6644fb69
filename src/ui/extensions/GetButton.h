#pragma once

#include <memory>

#include "ui/extensions/HapticPressGestureRecognizer.h"
#include "uikit/Button.h"

namespace corvane {

// The Get/price button's press: a small bounce, and a long press that ticks the selection
// haptic before the bounce.
class GetButton {
  public:
    static constexpr double kBounceDuration = 0.25;
    static constexpr double kBounceScale = 0.9;
    static constexpr double kMinimumPressDuration = 0.2;

    // Shrinks the button to 90 % and back, each way over kBounceDuration.
    static void animateButton(uikit::Button& button);
    // The button's long press, made and added on first use (1 touch, 0 taps, 0.2 s).
    static std::shared_ptr<HapticPressGestureRecognizer> hapticPress(uikit::Button& button);
    // A further action of the long press: it hears every state change and looks for began
    // itself.
    static uikit::GestureRecognizer::TargetID addTarget(uikit::Button& button,
                                                        uikit::GestureRecognizer::Action action);
    // The long press's own action: on began, the selection haptic and the bounce.
    static void hapticPressAction(uikit::GestureRecognizer& recognizer);
};

}  // namespace corvane
