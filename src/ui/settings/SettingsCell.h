#pragma once

#include <memory>
#include <string>

#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/Switch.h"
#include "uikit/TableViewCell.h"
#include "usernotifications/UserNotificationCenterDelegate.h"

namespace corvane {

// A settings row of the nib "SettingsCell": a label and a switch bound to one preference. A
// change writes the preference and then does what belongs to that key: the three dark modes
// exclude each other and recolour the interface, two keys ask for a full refresh of all
// sources, "LegacyIcon" swaps the application icon, notifications and package-task
// authentication ask the system first.
//
// Whoever shows the cell sets keyToCheck and calls setOptionState.
class SettingsCell : public uikit::TableViewCell,
                     public usernotifications::UserNotificationCenterDelegate {
  public:
    static constexpr const char* kNibName = "SettingsCell";

    explicit SettingsCell(std::string reuseIdentifier = {});

    // The switch changed.
    void switchAction(uikit::Switch& sender);
    // The switch shows the stored preference of keyToCheck.
    void setOptionState();

    void layoutSubviews() override;

    std::string keyToCheck;
    // Outlets, set by the nib.
    std::shared_ptr<uikit::Label> optionLbl;
    std::shared_ptr<uikit::LayoutConstraint> optionLblWidthConstraint;
    std::shared_ptr<uikit::Switch> optionSwitch;

  private:
    void authenticateChange(const std::string& key, bool on);
    void askNotificationPermission(const std::string& key);
    // The switch goes back to the stored value, unless the cell shows another key by now.
    void restoreSwitch(const std::string& key);
    static void applySideEffects(const std::string& key, bool on);
    static void setLegacyIcon(bool on);
    static void switchOffOtherThemes(const std::string& key);
    static void requestFullRefresh();
};

}  // namespace corvane
