#pragma once

#include <optional>

#include "uikit/View.h"

namespace uikit {

enum class ProgressViewStyle { standard, bar };

class ProgressView : public View {
  public:
    explicit ProgressView(ProgressViewStyle style = ProgressViewStyle::standard) : style_(style) {}

    ProgressViewStyle style() const { return style_; }
    double progress() const { return progress_; }
    // Clamped to 0...1; not a number counts as 0.
    void setProgress(double progress, bool animated = false);
    const std::optional<Color>& progressTintColor() const { return progressTint_; }
    void setProgressTintColor(std::optional<Color> color) { progressTint_ = color; }
    const std::optional<Color>& trackTintColor() const { return trackTint_; }
    void setTrackTintColor(std::optional<Color> color) { trackTint_ = color; }

    Size intrinsicContentSize() const override { return {kNoIntrinsicMetric, 2}; }
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override;

  private:
    ProgressViewStyle style_;
    double progress_ = 0;
    std::optional<Color> progressTint_;
    std::optional<Color> trackTint_;
};

}  // namespace uikit
