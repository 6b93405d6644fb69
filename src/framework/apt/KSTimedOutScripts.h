#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace corvane {

// The packages whose maintainer script was stopped for making no progress. The repair leaves
// them as dpkg left them, and says so, rather than start the same script again at every launch;
// the person removes or reinstalls them. Kept in the data folder, a name a line. Any thread.
class KSTimedOutScripts {
  public:
    static constexpr const char* kFileName = "TimedOutScripts";

    // The package dpkg was working on when the output ended: the one its last step line names
    // ("Setting up", "Unpacking", "Preparing to unpack", "Removing", ...).
    static std::optional<std::string> packageOfLastStep(const std::string& output);
    static void record(const std::string& identifier);
    static std::set<std::string> identifiers();
    // Forgets those dpkg has finished with since, one way or the other.
    static void keepOnly(const std::vector<std::string>& unfinished);

  private:
    static void write(const std::set<std::string>& identifiers);
};

}  // namespace corvane
