#include "ui/palette/KSPalette.h"

#include <array>

namespace corvane {

using uikit::Color;

namespace {

const Color kTint{0.0, 0.67, 0.88};
const Color kPaidText{0.0, 0.82, 0.88};
const Color kLightSurface{0.94, 0.94, 0.96};
const Color kDarkShadow{0.30, 0.30, 0.31};

}  // namespace

KSPalette KSPalette::initWithLightConfiguration() {
    KSPalette palette;
    palette.backgroundColor_ = Color::white();
    palette.foregroundColor_ = kLightSurface;
    palette.queueBackgroundColor_ = {0.88, 0.97, 1.0};
    palette.highlightColor_ = Color::lightGray();
    palette.tintColor_ = kTint;
    palette.barTintColor_ = Color::white();
    palette.primaryTextColor_ = Color::darkText();
    palette.secondaryTextColor_ = Color::lightGray();
    palette.paidTextColor_ = kPaidText;
    palette.shadowColor_ = Color::gray();
    palette.navBarColor_ = Color::white();
    palette.cellBackgroundColor_ = Color::white();
    palette.getButtonBackgoundColor_ = kLightSurface;
    palette.getButtonTextColor_ = kTint;
    palette.barStyle_ = uikit::BarStyle::defaultStyle;
    palette.blurStyle_ = uikit::BlurEffectStyle::light;
    palette.keyboardAppearance_ = kKeyboardAppearanceLight;
    return palette;
}

KSPalette KSPalette::darkConfiguration(const Color& background, const Color& foreground,
                                       const Color& queueBackground, const Color& highlight) {
    KSPalette palette;
    palette.backgroundColor_ = background;
    palette.foregroundColor_ = foreground;
    palette.queueBackgroundColor_ = queueBackground;
    palette.highlightColor_ = highlight;
    palette.tintColor_ = kTint;
    palette.barTintColor_ = foreground;
    palette.primaryTextColor_ = Color::white();
    palette.secondaryTextColor_ = Color::lightGray();
    palette.paidTextColor_ = kPaidText;
    palette.shadowColor_ = kDarkShadow;
    palette.navBarColor_ = background;
    palette.cellBackgroundColor_ = foreground;
    palette.getButtonBackgoundColor_ = kTint;
    palette.getButtonTextColor_ = kLightSurface;
    palette.barStyle_ = uikit::BarStyle::black;
    palette.blurStyle_ = uikit::BlurEffectStyle::dark;
    palette.keyboardAppearance_ = kKeyboardAppearanceDark;
    return palette;
}

KSPalette KSPalette::initWithBlueConfiguration() {
    return darkConfiguration({0.07, 0.11, 0.15}, {0.10, 0.16, 0.22}, {0.08, 0.33, 0.40},
                             {0.20, 0.22, 0.26});
}

KSPalette KSPalette::initWithGreyConfiguration() {
    return darkConfiguration({0.09, 0.09, 0.09}, {0.11, 0.11, 0.12}, {0.20, 0.20, 0.20},
                             {0.21, 0.21, 0.22});
}

KSPalette KSPalette::initWithOLEDConfiguration() {
    return darkConfiguration(Color::black(), {0.05, 0.05, 0.05}, {0.10, 0.10, 0.10},
                             {0.15, 0.15, 0.16});
}

std::optional<KSPalette> KSPalette::paletteWithStyle(std::uint64_t style) {
    static constexpr std::array<KSPalette (*)(), 4> kConfigurations{
        &initWithLightConfiguration, &initWithBlueConfiguration, &initWithGreyConfiguration,
        &initWithOLEDConfiguration};
    if (style >= kConfigurations.size())
        return std::nullopt;
    return kConfigurations[style]();
}

std::optional<KSPalette> KSPalette::paletteWithStyle(std::uint64_t style,
                                                     const Overrides& overrides) {
    auto palette = paletteWithStyle(style);
    if (palette)
        palette->applyOverrides(overrides);
    return palette;
}

void KSPalette::applyOverrides(const Overrides& overrides) {
    for (const auto& [name, color] : overrides)
        if (Color* target = overridableColor(name))
            *target = color;
}

Color* KSPalette::overridableColor(const std::string& propertyName) {
    static const std::map<std::string, Color KSPalette::*> kOverridable{
        {"backgroundColor", &KSPalette::backgroundColor_},
        {"foregroundColor", &KSPalette::foregroundColor_},
        {"queueBackgroundColor", &KSPalette::queueBackgroundColor_},
        {"highlightColor", &KSPalette::highlightColor_},
        {"tintColor", &KSPalette::tintColor_},
        {"barTintColor", &KSPalette::barTintColor_},
        {"primaryTextColor", &KSPalette::primaryTextColor_},
        {"secondaryTextColor", &KSPalette::secondaryTextColor_},
        {"paidTextColor", &KSPalette::paidTextColor_},
        {"shadowColor", &KSPalette::shadowColor_},
        {"navBarColor", &KSPalette::navBarColor_},
        {"cellBackgroundColor", &KSPalette::cellBackgroundColor_},
    };
    auto found = kOverridable.find(propertyName);
    return found == kOverridable.end() ? nullptr : &(this->*(found->second));
}

}  // namespace corvane
