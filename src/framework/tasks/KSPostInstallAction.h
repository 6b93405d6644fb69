#pragma once

#include <string>

namespace corvane {

// What a package's installation asks to happen once the pipeline is empty.
struct KSPostInstallAction {
    enum class Kind { respring, reboot, iconCacheRefresh, processKill };

    Kind kind = Kind::respring;
    // The process to end, for processKill; checked against Debian's package-name characters
    // before it reaches a command line.
    std::string processName;

    bool operator==(const KSPostInstallAction&) const = default;
};

}  // namespace corvane
