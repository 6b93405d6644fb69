#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/tasks/KSPostInstallAction.h"

namespace corvane {

// Carries out the post-install actions once the pipeline is empty. On a device these restart
// the home screen, reboot, rebuild the icon cache or end a process. This build runs against a
// device root on a host, whose own processes and power state must never be touched, so each
// action is logged with the command line a device would run and nothing is executed.
class KSPostInstallActionPerformer {
  public:
    static void perform(const std::vector<KSPostInstallAction>& actions);
    // The device's command line for the action; nothing for a process name that is not a
    // plain name (letters, digits and ".-_+").
    static std::optional<std::string> commandLineForAction(const KSPostInstallAction& action);
};

}  // namespace corvane
