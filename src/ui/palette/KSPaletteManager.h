#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "foundation/Observable.h"
#include "foundation/ObservationToken.h"
#include "ui/palette/KSPalette.h"
#include "uikit/TraitCollection.h"

namespace corvane {

// Posted on the default centre (object nil, no user info) around every change of the active
// style: will-change first, did-change last; activeStyle observers hear after both.
inline constexpr const char* KSPaletteWillChangeNotification = "KSPaletteWillChangeNotification";
inline constexpr const char* KSPaletteDidChangeNotification = "KSPaletteDidChangeNotification";

// Decides which of the four palette styles the whole application shows, from the preferences
// and the system appearance last reported by a paletted screen. Main thread only, except the
// one-time creation.
class KSPaletteManager {
  public:
    // Created on first use (again after a process reset); the first use applies the style of
    // the settings, so the two notifications are posted once then.
    static KSPaletteManager& sharedPaletteManager();

    // The first rule that applies: the system appearance is light and followed (iOS 13 on),
    // DarkMode, AppleDarkMode, TrueDarkMode, else Light.
    static std::uint64_t styleForSettings();
    static void updatePaletteFromSettings();
    static void setAppleInterfaceStyleIsLight(bool light);
    static bool appleInterfaceStyleIsLight();
    static std::uint64_t getActiveStyle();
    // Nothing for a style above 3.
    static std::optional<KSPalette> paletteForStyle(std::uint64_t style);
    // A fresh palette of the active style.
    static KSPalette getActivePalette();
    static bool isDarkMode();
    static bool isLightMode();
    // Dark for the three dark styles, else light.
    static uikit::UserInterfaceStyle interfaceStyle();

    // Posts will-change, takes the style and its palette, posts did-change, then tells the
    // activeStyle observers; the same style again announces again. A style above 3 is refused
    // (false): nothing is posted and the active palette stays.
    bool setActiveStyle(std::uint64_t style);

    // The palette of the active style, without overrides.
    const KSPalette& activePalete() const { return activePalete_; }
    std::uint64_t activeStyle() const { return activeStyle_; }
    [[nodiscard]] foundation::ObservationToken observeActiveStyle(
        std::function<void(const std::uint64_t&)> observer) {
        return observedStyle_.observe(std::move(observer));
    }

    const uikit::Color& backgroundColor() const { return activePalete_.backgroundColor(); }
    const uikit::Color& foregroundColor() const { return activePalete_.foregroundColor(); }
    const uikit::Color& queueBackgroundColor() const {
        return activePalete_.queueBackgroundColor();
    }
    const uikit::Color& highlightColor() const { return activePalete_.highlightColor(); }
    const uikit::Color& tintColor() const { return activePalete_.tintColor(); }
    const uikit::Color& barTintColor() const { return activePalete_.barTintColor(); }
    const uikit::Color& primaryTextColor() const { return activePalete_.primaryTextColor(); }
    const uikit::Color& secondaryTextColor() const { return activePalete_.secondaryTextColor(); }
    const uikit::Color& paidTextColor() const { return activePalete_.paidTextColor(); }
    const uikit::Color& shadowColor() const { return activePalete_.shadowColor(); }
    const uikit::Color& navBarColor() const { return activePalete_.navBarColor(); }
    const uikit::Color& cellBackgroundColor() const { return activePalete_.cellBackgroundColor(); }
    const uikit::Color& getButtonBackgoundColor() const {
        return activePalete_.getButtonBackgoundColor();
    }
    const uikit::Color& getButtonTextColor() const { return activePalete_.getButtonTextColor(); }
    uikit::BarStyle barStyle() const { return activePalete_.barStyle(); }
    uikit::BlurEffectStyle blurStyle() const { return activePalete_.blurStyle(); }
    std::int64_t keyboardAppearance() const { return activePalete_.keyboardAppearance(); }

  private:
    KSPaletteManager() = default;

    KSPalette activePalete_ = KSPalette::initWithLightConfiguration();
    std::uint64_t activeStyle_ = KSPalette::kLight;
    // Told only once the setter has finished, as key-value observers are.
    foundation::Observable<std::uint64_t> observedStyle_{KSPalette::kLight};
    std::atomic<bool> announced_{false};
};

}  // namespace corvane
