#pragma once

#include <optional>

#include "uikit/Control.h"

namespace uikit {

// An on/off control; a tap flips it and sends value-changed.
class Switch : public Control {
  public:
    Switch();

    bool isOn() const { return on_; }
    // From code: no value-changed event, as the system does.
    void setOn(bool on, bool animated = false) { on_ = on; }
    const std::optional<Color>& onTintColor() const { return onTintColor_; }
    void setOnTintColor(std::optional<Color> color) { onTintColor_ = color; }
    const std::optional<Color>& thumbTintColor() const { return thumbTintColor_; }
    void setThumbTintColor(std::optional<Color> color) { thumbTintColor_ = color; }

    Size intrinsicContentSize() const override { return {51, 31}; }
    void draw(Canvas& canvas) override;
    Size sizeThatFits(Size) const override { return intrinsicContentSize(); }

  protected:
    void didTapInside(const Touch& touch) override;
    std::string describeSelf() const override { return on_ ? "Switch on" : "Switch off"; }

  private:
    bool on_ = false;
    std::optional<Color> onTintColor_;
    std::optional<Color> thumbTintColor_;
};

}  // namespace uikit
