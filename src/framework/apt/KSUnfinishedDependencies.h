#pragma once

#include <string>
#include <vector>

#include "framework/apt/KSAPTQueueEntry.h"

namespace corvane {

// APT installs a package whose dependency dpkg left unfinished, and dpkg then refuses to
// configure it, in words about a package the person did not ask for. These lines say why
// beforehand, one for each queued package that needs one left unfinished, naming both; a
// dependency queued itself (reinstalled, say) is no hindrance.
class KSUnfinishedDependencies {
  public:
    static std::vector<std::string> linesFor(const std::vector<KSAPTQueueEntry>& entries);

  private:
    // The package names of a Depends entry, alternatives included ("a (>= 1) | b" -> a, b).
    static std::vector<std::string> namesOf(const std::string& entry);
};

}  // namespace corvane
