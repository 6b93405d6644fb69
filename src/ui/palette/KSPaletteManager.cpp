#include "ui/palette/KSPaletteManager.h"

#include <string>

#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/ProcessValue.h"
#include "foundation/SharedInstance.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "uikit/Device.h"

namespace corvane {

namespace {

// The last system appearance a paletted screen reported; dark until one reports.
foundation::ProcessValue<bool> appleInterfaceStyleLight{false};

bool followsSystemAppearance() {
    return uikit::Device::current().systemVersionAtLeast("13.0");
}

}  // namespace

KSPaletteManager& KSPaletteManager::sharedPaletteManager() {
    static auto* manager = new foundation::SharedInstance<KSPaletteManager>(
        [] { return std::shared_ptr<KSPaletteManager>(new KSPaletteManager()); });
    auto& instance = manager->get();
    // Announced once the manager is in place, so that an observer of the notifications may use
    // it without waiting on its own creation.
    if (!instance.announced_.exchange(true))
        instance.setActiveStyle(styleForSettings());
    return instance;
}

std::uint64_t KSPaletteManager::styleForSettings() {
    const auto& preferences = CorvanePersistentPreferences::sharedInstance();
    if (followsSystemAppearance() && preferences.boolForKey("ObserveAppleDarkModeChanges") &&
        appleInterfaceStyleIsLight())
        return KSPalette::kLight;
    if (preferences.boolForKey("DarkMode"))
        return KSPalette::kBlue;
    if (preferences.boolForKey("AppleDarkMode"))
        return KSPalette::kGrey;
    if (preferences.boolForKey("TrueDarkMode"))
        return KSPalette::kOLED;
    return KSPalette::kLight;
}

void KSPaletteManager::updatePaletteFromSettings() {
    sharedPaletteManager().setActiveStyle(styleForSettings());
}

void KSPaletteManager::setAppleInterfaceStyleIsLight(bool light) {
    appleInterfaceStyleLight.set(light);
    sharedPaletteManager().setActiveStyle(styleForSettings());
}

bool KSPaletteManager::appleInterfaceStyleIsLight() {
    return appleInterfaceStyleLight.get();
}

std::uint64_t KSPaletteManager::getActiveStyle() {
    return sharedPaletteManager().activeStyle();
}

std::optional<KSPalette> KSPaletteManager::paletteForStyle(std::uint64_t style) {
    return KSPalette::paletteWithStyle(style);
}

KSPalette KSPaletteManager::getActivePalette() {
    return sharedPaletteManager().activePalete();
}

bool KSPaletteManager::isDarkMode() {
    return getActiveStyle() != KSPalette::kLight;
}

bool KSPaletteManager::isLightMode() {
    return getActiveStyle() == KSPalette::kLight;
}

uikit::UserInterfaceStyle KSPaletteManager::interfaceStyle() {
    return isDarkMode() ? uikit::UserInterfaceStyle::dark : uikit::UserInterfaceStyle::light;
}

bool KSPaletteManager::setActiveStyle(std::uint64_t style) {
    auto palette = paletteForStyle(style);
    if (!palette) {
        KSLog("Refusing palette style %@; style %@ stays active", std::to_string(style),
              std::to_string(activeStyle_));
        return false;
    }
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.post(KSPaletteWillChangeNotification);
    activePalete_ = *palette;
    activeStyle_ = style;
    center.post(KSPaletteDidChangeNotification);
    observedStyle_.set(style);
    return true;
}

}  // namespace corvane
