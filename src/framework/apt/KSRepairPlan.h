#pragma once

#include <set>
#include <string>
#include <vector>

#include "foundation/Result.h"
#include "framework/apt/KSUnfinishedPackages.h"

namespace corvane {

// The command lines that bring what dpkg left unfinished back to a state APT can work with.
// Configuring finishes what was unpacked; a new unpacking, of the archive fetched first, mends
// what was cut short while unpacking; then APT fetches and installs what the packages still
// need. A package whose script was stopped for making no progress is left as it is: its script
// would only run again, and so would it under APT, which configures whatever dpkg has pending.
class KSRepairPlan {
  public:
    // Each an error where no sandbox can be made.
    static std::vector<foundation::Result<std::string>> steps(
        const KSUnfinishedPackages& unfinished, const std::set<std::string>& stopped);

  private:
    // The arguments, then the names but those stopped.
    static std::vector<std::string> namesAfter(std::vector<std::string> arguments,
                                               const std::vector<std::string>& names,
                                               const std::set<std::string>& stopped);
};

}  // namespace corvane
