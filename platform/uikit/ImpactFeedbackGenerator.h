#pragma once

namespace uikit {

enum class ImpactFeedbackStyle { light, medium, heavy };

// Haptic feedback of a collision. No motor here: it counts impacts per style since the process
// started (or was last reset).
class ImpactFeedbackGenerator {
  public:
    explicit ImpactFeedbackGenerator(ImpactFeedbackStyle style = ImpactFeedbackStyle::medium)
        : style_(style) {}

    ImpactFeedbackStyle style() const { return style_; }
    void prepare() {}
    void impactOccurred();

    static int impactCount(ImpactFeedbackStyle style);

  private:
    ImpactFeedbackStyle style_;
};

}  // namespace uikit
