#pragma once

#include <memory>
#include <optional>

#include "uikit/View.h"

namespace uikit {

enum class BlurEffectStyle {
    extraLight,
    light,
    dark,
    regular,
    prominent,
    systemMaterial,
    systemThinMaterial,
    systemChromeMaterial
};

// A blurred backdrop; subviews belong in its content view, which fills it.
class VisualEffectView : public View {
  public:
    explicit VisualEffectView(std::optional<BlurEffectStyle> effect = std::nullopt);

    const std::optional<BlurEffectStyle>& effect() const { return effect_; }
    void setEffect(std::optional<BlurEffectStyle> effect) { effect_ = effect; }
    const std::shared_ptr<View>& contentView() const { return contentView_; }

    void layoutSubviews() override;
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override { return "VisualEffectView"; }

  private:
    std::optional<BlurEffectStyle> effect_;
    std::shared_ptr<View> contentView_;
};

}  // namespace uikit
