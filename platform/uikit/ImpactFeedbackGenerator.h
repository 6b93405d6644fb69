#pragma once

#include <array>

namespace uikit {

enum class ImpactFeedbackStyle { light, medium, heavy };

// Haptic feedback of a collision. No motor here: it counts impacts per style.
class ImpactFeedbackGenerator {
  public:
    explicit ImpactFeedbackGenerator(ImpactFeedbackStyle style = ImpactFeedbackStyle::medium)
        : style_(style) {}

    ImpactFeedbackStyle style() const { return style_; }
    void prepare() {}
    void impactOccurred() { ++counts_[static_cast<int>(style_)]; }

    static int impactCount(ImpactFeedbackStyle style) { return counts_[static_cast<int>(style)]; }
    static void resetCounts() { counts_ = {}; }

  private:
    ImpactFeedbackStyle style_;
    static inline std::array<int, 3> counts_{};
};

}  // namespace uikit
