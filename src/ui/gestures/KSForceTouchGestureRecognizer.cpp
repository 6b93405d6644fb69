#include "ui/gestures/KSForceTouchGestureRecognizer.h"

#include <algorithm>
#include <cmath>

#include "uikit/ImpactFeedbackGenerator.h"

namespace corvane {

void KSForceTouchGestureRecognizer::touchesBegan(const std::vector<uikit::Touch>& touches) {
    uikit::GestureRecognizer::touchesBegan(touches);
    triggerWithTouches(touches);
}

void KSForceTouchGestureRecognizer::touchesMoved(const std::vector<uikit::Touch>& touches) {
    uikit::GestureRecognizer::touchesMoved(touches);
    triggerWithTouches(touches);
}

void KSForceTouchGestureRecognizer::touchesEnded(const std::vector<uikit::Touch>& touches) {
    uikit::GestureRecognizer::touchesEnded(touches);
    triggerWithTouches(touches);
}

void KSForceTouchGestureRecognizer::touchesCancelled(const std::vector<uikit::Touch>& touches) {
    uikit::GestureRecognizer::touchesCancelled(touches);
    triggerWithTouches(touches);
}

void KSForceTouchGestureRecognizer::reset() {
    uikit::GestureRecognizer::reset();
    force_ = 0;
    recognized_ = false;
}

void KSForceTouchGestureRecognizer::applyDefaults() {
    setCancelsTouchesInView(false);
    triggerForce_ = kDefaultTriggerForce;
    triggerOncePerTouch_ = true;
}

void KSForceTouchGestureRecognizer::triggerWithTouches(const std::vector<uikit::Touch>& touches) {
    if (touches.empty())
        return;
    const auto force = normalisedForce(touches.front());
    force_ = force.value_or(0);
    if (!force || recognized_ || *force < triggerForce_)
        return;
    recognized_ = true;
    generateFeedback();
    setState(State::ended);
}

std::optional<double> KSForceTouchGestureRecognizer::normalisedForce(const uikit::Touch& touch) {
    const double divisor = std::min(touch.maximumPossibleForce, kLargestForceDivisor);
    if (!(divisor > 0) || !std::isfinite(touch.force))
        return std::nullopt;
    return touch.force / divisor;
}

void KSForceTouchGestureRecognizer::generateFeedback() {
    uikit::ImpactFeedbackGenerator feedback(uikit::ImpactFeedbackStyle::light);
    feedback.prepare();
    feedback.impactOccurred();
}

}  // namespace corvane
