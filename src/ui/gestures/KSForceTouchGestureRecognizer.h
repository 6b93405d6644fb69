#pragma once

#include <optional>
#include <vector>

#include "uikit/GestureRecognizer.h"

namespace corvane {

// Recognises once when a finger presses hard enough, with a light haptic tap, and leaves the
// touches to the view. The force is normalised by the device's maximum possible force, at most
// 4.0; a device that senses no pressure (a maximum of 0) never fires. It never fails by itself.
class KSForceTouchGestureRecognizer : public uikit::GestureRecognizer {
  public:
    static constexpr double kDefaultTriggerForce = 0.5;
    static constexpr double kLargestForceDivisor = 4.0;

    KSForceTouchGestureRecognizer() { applyDefaults(); }
    explicit KSForceTouchGestureRecognizer(Action action)
        : uikit::GestureRecognizer(std::move(action)) {
        applyDefaults();
    }

    bool recognized() const { return recognized_; }
    // The last normalised force.
    double force() const { return force_; }
    double triggerForce() const { return triggerForce_; }
    void setTriggerForce(double force) { triggerForce_ = force; }
    // Kept for callers; the recogniser fires once per gesture either way.
    bool triggerOncePerTouch() const { return triggerOncePerTouch_; }
    void setTriggerOncePerTouch(bool once) { triggerOncePerTouch_ = once; }
    // Kept for callers; pressure alone decides.
    double minimumPressDuration() const { return minimumPressDuration_; }
    void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }

    void touchesBegan(const std::vector<uikit::Touch>& touches) override;
    void touchesMoved(const std::vector<uikit::Touch>& touches) override;
    void touchesEnded(const std::vector<uikit::Touch>& touches) override;
    void touchesCancelled(const std::vector<uikit::Touch>& touches) override;
    void reset() override;

  private:
    void applyDefaults();
    void triggerWithTouches(const std::vector<uikit::Touch>& touches);
    // Nothing when the device senses no pressure.
    static std::optional<double> normalisedForce(const uikit::Touch& touch);
    static void generateFeedback();

    bool recognized_ = false;
    bool triggerOncePerTouch_ = true;
    double force_ = 0;
    double triggerForce_ = kDefaultTriggerForce;
    double minimumPressDuration_ = 0;
};

}  // namespace corvane
