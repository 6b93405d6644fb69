#pragma once

#include "uikit/View.h"

namespace uikit {

enum class ActivityIndicatorStyle { medium, large, white, whiteLarge, gray };

// A spinner; hidden while stopped unless told otherwise.
class ActivityIndicatorView : public View {
  public:
    explicit ActivityIndicatorView(ActivityIndicatorStyle style = ActivityIndicatorStyle::medium);

    ActivityIndicatorStyle style() const { return style_; }
    void setStyle(ActivityIndicatorStyle style) { style_ = style; }
    const Color& color() const { return color_; }
    void setColor(const Color& color) { color_ = color; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }

    Size intrinsicContentSize() const override;
    Size sizeThatFits(Size) const override { return intrinsicContentSize(); }
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override;

  private:
    ActivityIndicatorStyle style_;
    Color color_ = Color::gray();
    bool hidesWhenStopped_ = true;
    bool animating_ = false;
};

}  // namespace uikit
