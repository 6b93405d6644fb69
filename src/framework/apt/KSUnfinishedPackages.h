#pragma once

#include <string>
#include <vector>

#include "foundation/Result.h"

namespace corvane {

// The packages of the device that dpkg has not finished with, as its status tells now, read as a
// package may have left it (KSDeviceFile): those only a new unpacking mends, and those that
// configuring finishes.
struct KSUnfinishedPackages {
    std::vector<std::string> toReinstall;
    std::vector<std::string> toConfigure;

    bool empty() const { return toReinstall.empty() && toConfigure.empty(); }
    std::vector<std::string> all() const;

    // A missing status file holds nothing unfinished.
    static foundation::Result<KSUnfinishedPackages> read();
};

}  // namespace corvane
