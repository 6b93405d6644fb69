#include "ui/settings/SettingsCell.h"

#include <algorithm>
#include <array>

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "ui/palette/KSPaletteManager.h"
#include "ui/settings/KSDeviceOwnerAuthentication.h"
#include "ui/settings/KSTopmostAlert.h"
#include "uikit/Application.h"
#include "usernotifications/UserNotificationCenter.h"

namespace corvane {

namespace {

constexpr const char* kAuthenticationKey = "AuthenticationForPackagesManagementTasks";
constexpr const char* kNotificationsKey = "ShowNotificationsInsteadOfErrorAlerts";
constexpr const char* kLegacyIconKey = "LegacyIcon";
constexpr std::array<const char*, 3> kThemeKeys{"DarkMode", "AppleDarkMode", "TrueDarkMode"};
constexpr double kHorizontalInset = 15;

CorvanePersistentPreferences& preferences() {
    return CorvanePersistentPreferences::sharedInstance();
}

void writeAndSave(const std::string& key, bool on) {
    preferences().setValue(on, key);
    preferences().saveToFile();
}

bool isThemeKey(const std::string& key) {
    return std::find(kThemeKeys.begin(), kThemeKeys.end(), key) != kThemeKeys.end();
}

}  // namespace

SettingsCell::SettingsCell(std::string reuseIdentifier)
    : TableViewCell(TableViewCell::Style::defaultStyle, std::move(reuseIdentifier)) {}

void SettingsCell::setOptionState() {
    if (optionSwitch)
        optionSwitch->setOn(preferences().boolForKey(keyToCheck));
}

void SettingsCell::switchAction(uikit::Switch& sender) {
    const std::string key = keyToCheck;
    const bool on = sender.isOn();
    if (key == kAuthenticationKey)
        return authenticateChange(key, on);
    if (on && key == kNotificationsKey)
        return askNotificationPermission(key);
    writeAndSave(key, on);
    applySideEffects(key, on);
}

void SettingsCell::authenticateChange(const std::string& key, bool on) {
    const char* reason =
        on ? "Please authenticate yourself to activate FaceID / TouchID / Password "
             "authentication for packages management tasks"
           : "Please authenticate yourself to deactivate FaceID / TouchID / Password "
             "authentication for packages management tasks";
    auto weakSelf = std::weak_ptr<View>(weak_from_this());
    auto restore = [weakSelf, key] {
        if (auto self = std::static_pointer_cast<SettingsCell>(weakSelf.lock()))
            self->restoreSwitch(key);
    };
    KSDeviceOwnerAuthentication::authenticate(
        foundation::localized(reason),
        [key, on, restore](bool success) {
            if (success)
                writeAndSave(key, on);
            else
                restore();
        },
        [on, restore] {
            restore();
            KSTopmostAlert::show(
                foundation::localized("Corvane Authentication"),
                foundation::localized("Your device can't use FaceID, TouchID or password "
                                      "authentication at the moment. Most likely you haven't "
                                      "set it up in Settings."),
                foundation::localized(on ? "Close" : "Cancel"));
        });
}

// The preference follows the system's answer: refused permission leaves it off, so error
// alerts are not traded for notifications that never show.
void SettingsCell::askNotificationPermission(const std::string& key) {
    auto& center = usernotifications::UserNotificationCenter::current();
    auto self = std::static_pointer_cast<SettingsCell>(shared_from_this());
    center.setDelegate(std::weak_ptr<usernotifications::UserNotificationCenterDelegate>(self));
    std::weak_ptr<View> weakSelf = self;
    center.requestAuthorization(
        usernotifications::AuthorizationOptionAlert | usernotifications::AuthorizationOptionSound |
            usernotifications::AuthorizationOptionBadge,
        [weakSelf, key](bool granted, std::optional<foundation::Error> error) {
            foundation::runOnMain([weakSelf, key, granted, failed = error.has_value()] {
                if (granted && !failed)
                    uikit::Application::shared().registerForRemoteNotifications();
                if (granted)
                    return writeAndSave(key, true);
                if (auto self = std::static_pointer_cast<SettingsCell>(weakSelf.lock()))
                    self->restoreSwitch(key);
                KSTopmostAlert::show(foundation::localized("Corvane Notifications"),
                                     foundation::localized("Please enable Notifications from "
                                                           "Settings->Corvane->Notifications->"
                                                           "Allow Notifications"),
                                     foundation::localized("OK"));
            });
        });
}

void SettingsCell::restoreSwitch(const std::string& key) {
    if (key == keyToCheck && optionSwitch)
        optionSwitch->setOn(preferences().boolForKey(key), true);
}

void SettingsCell::applySideEffects(const std::string& key, bool on) {
    if (key == "ShowIncompatiblePackages" || key == "OriginalCydiaSourcesIcons")
        return requestFullRefresh();
    if (key == kLegacyIconKey)
        return setLegacyIcon(on);
    if (!isThemeKey(key))
        return;
    if (on)
        switchOffOtherThemes(key);
    KSPaletteManager::updatePaletteFromSettings();
}

void SettingsCell::requestFullRefresh() {
    // Saved on the preferences' own schedule: the refresh reads it from memory.
    preferences().setValue(true, "NeedsFullRefresh");
    KSRPackageManager::sharedPackageManager().sources().refreshAllSources();
}

void SettingsCell::setLegacyIcon(bool on) {
    auto name = on ? std::optional<std::string>(kLegacyIconKey) : std::nullopt;
    uikit::Application::shared().setAlternateIconName(
        name, [on](std::optional<foundation::Error> error) {
            if (error)
                KSLog(on ? "ERROR: Could not set legacy icon."
                         : "ERROR: Could not set modern icon.");
        });
}

void SettingsCell::switchOffOtherThemes(const std::string& key) {
    for (const char* other : kThemeKeys)
        if (key != other)
            preferences().setValue(false, other);
    preferences().saveToFile();
}

void SettingsCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    const uikit::Rect content = contentView()->bounds();
    if (optionSwitch) {
        const uikit::Size size = optionSwitch->bounds().size;
        optionSwitch->setFrame({content.maxX() - kHorizontalInset - size.width,
                                (content.height() - size.height) / 2, size.width, size.height});
    }
    if (optionLbl) {
        const double width = optionLblWidthConstraint ? optionLblWidthConstraint->constant()
                                                      : optionLbl->intrinsicContentSize().width;
        const double height = optionLbl->sizeThatFits({width, 0}).height;
        optionLbl->setFrame({kHorizontalInset, (content.height() - height) / 2, width, height});
    }
}

}  // namespace corvane
