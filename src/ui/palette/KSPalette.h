#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "uikit/BarStyle.h"
#include "uikit/Color.h"
#include "uikit/VisualEffectView.h"

namespace corvane {

// The colour theme of the whole interface: every colour and style number a screen needs, in one
// of four built-in configurations chosen by a style number. A value: every holder keeps its own
// copy, so overriding colours for one screen never reaches another.
class KSPalette {
  public:
    // Palette property name to colour, as screens override them.
    using Overrides = std::map<std::string, uikit::Color>;

    // Style numbers.
    static constexpr std::uint64_t kLight = 0;
    static constexpr std::uint64_t kBlue = 1;
    static constexpr std::uint64_t kGrey = 2;
    static constexpr std::uint64_t kOLED = 3;

    // Keyboard appearances as the platform numbers them.
    static constexpr std::int64_t kKeyboardAppearanceDark = 1;
    static constexpr std::int64_t kKeyboardAppearanceLight = 2;

    static KSPalette initWithLightConfiguration();
    static KSPalette initWithBlueConfiguration();
    static KSPalette initWithGreyConfiguration();
    static KSPalette initWithOLEDConfiguration();

    // Nothing for a style above kOLED.
    static std::optional<KSPalette> paletteWithStyle(std::uint64_t style);
    static std::optional<KSPalette> paletteWithStyle(std::uint64_t style,
                                                     const Overrides& overrides);

    // Only the twelve colours below that screens may change take an override; the Get button's
    // colours and the style numbers never do, and other names are ignored.
    void applyOverrides(const Overrides& overrides);

    const uikit::Color& backgroundColor() const { return backgroundColor_; }
    const uikit::Color& foregroundColor() const { return foregroundColor_; }
    const uikit::Color& queueBackgroundColor() const { return queueBackgroundColor_; }
    const uikit::Color& highlightColor() const { return highlightColor_; }
    const uikit::Color& tintColor() const { return tintColor_; }
    const uikit::Color& barTintColor() const { return barTintColor_; }
    const uikit::Color& primaryTextColor() const { return primaryTextColor_; }
    const uikit::Color& secondaryTextColor() const { return secondaryTextColor_; }
    const uikit::Color& paidTextColor() const { return paidTextColor_; }
    const uikit::Color& shadowColor() const { return shadowColor_; }
    const uikit::Color& navBarColor() const { return navBarColor_; }
    const uikit::Color& cellBackgroundColor() const { return cellBackgroundColor_; }
    const uikit::Color& getButtonBackgoundColor() const { return getButtonBackgoundColor_; }
    const uikit::Color& getButtonTextColor() const { return getButtonTextColor_; }
    uikit::BarStyle barStyle() const { return barStyle_; }
    uikit::BlurEffectStyle blurStyle() const { return blurStyle_; }
    std::int64_t keyboardAppearance() const { return keyboardAppearance_; }

    bool operator==(const KSPalette&) const = default;

  private:
    KSPalette() = default;
    // The three dark configurations differ only in their surface colours.
    static KSPalette darkConfiguration(const uikit::Color& background,
                                       const uikit::Color& foreground,
                                       const uikit::Color& queueBackground,
                                       const uikit::Color& highlight);
    uikit::Color* overridableColor(const std::string& propertyName);

    uikit::Color backgroundColor_;
    uikit::Color foregroundColor_;
    uikit::Color queueBackgroundColor_;
    uikit::Color highlightColor_;
    uikit::Color tintColor_;
    uikit::Color barTintColor_;
    uikit::Color primaryTextColor_;
    uikit::Color secondaryTextColor_;
    uikit::Color paidTextColor_;
    uikit::Color shadowColor_;
    uikit::Color navBarColor_;
    uikit::Color cellBackgroundColor_;
    uikit::Color getButtonBackgoundColor_;
    uikit::Color getButtonTextColor_;
    uikit::BarStyle barStyle_ = uikit::BarStyle::defaultStyle;
    uikit::BlurEffectStyle blurStyle_ = uikit::BlurEffectStyle::light;
    std::int64_t keyboardAppearance_ = kKeyboardAppearanceLight;
};

}  // namespace corvane
