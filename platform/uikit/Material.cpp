#include "uikit/Material.h"

namespace uikit {

namespace {

constexpr double kTranslucentAlpha = 0.85;
const Color kLightBar = Color::white(0.97);
const Color kDarkBar = Color::white(0.11);

}  // namespace

Color Material::barFill(BarStyle style, bool translucent, const std::optional<Color>& barTint) {
    Color fill = barTint.value_or(style == BarStyle::black ? kDarkBar : kLightBar);
    if (!barTint && !translucent)
        fill = style == BarStyle::black ? Color::black() : Color::white();
    return translucent ? fill.withAlpha(fill.alpha() * kTranslucentAlpha) : fill;
}

Color Material::hairline(BarStyle style) {
    return style == BarStyle::black ? Color::white(1, 0.15) : Color::white(0, 0.3);
}

Color Material::blur(BlurEffectStyle style) {
    switch (style) {
        case BlurEffectStyle::dark:
            return kDarkBar.withAlpha(kTranslucentAlpha);
        case BlurEffectStyle::extraLight:
            return Color::white(1, kTranslucentAlpha);
        default:
            return kLightBar.withAlpha(kTranslucentAlpha);
    }
}

}  // namespace uikit
