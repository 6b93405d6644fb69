#include "framework/tasks/KSPostInstallActionPerformer.h"

#include <algorithm>

#include "foundation/Log.h"
#include "framework/debian/ShellQuote.h"

namespace corvane {

namespace {

bool isPlainProcessName(const std::string& name) {
    return !name.empty() && name.size() <= 255 && name.front() != '-' &&
           std::ranges::all_of(name, [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-' || c == '_' || c == '+';
           });
}

}  // namespace

std::optional<std::string> KSPostInstallActionPerformer::commandLineForAction(
    const KSPostInstallAction& action) {
    switch (action.kind) {
        case KSPostInstallAction::Kind::respring:
            return "sbreload";
        case KSPostInstallAction::Kind::reboot:
            return "reboot";
        case KSPostInstallAction::Kind::iconCacheRefresh:
            return "uicache --all";
        case KSPostInstallAction::Kind::processKill:
            if (!isPlainProcessName(action.processName))
                return std::nullopt;
            return "killall -9 " + ShellQuote::quote(action.processName);
    }
    return std::nullopt;
}

void KSPostInstallActionPerformer::perform(const std::vector<KSPostInstallAction>& actions) {
    for (const auto& action : actions) {
        if (auto commandLine = commandLineForAction(action))
            KSLog("Post-install action (not run on a host device root): %@", *commandLine);
        else
            KSLog("Refusing to end the process \"%@\": not a plain name", action.processName);
    }
}

}  // namespace corvane
