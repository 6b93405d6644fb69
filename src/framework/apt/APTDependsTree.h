#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// What an "apt-get -s install" of a queue would do, as package identifiers. Each list is empty
// when the simulation named nothing for it.
struct APTDependsTree {
    // Every package under the "additional", "NEW" and "upgraded" headings.
    std::vector<std::string> downloads;
    // "The following additional packages will be installed:"
    std::vector<std::string> depends;
    // "The following packages will be REMOVED:"
    std::vector<std::string> removes;
    // "The following packages will be upgraded:"
    std::vector<std::string> upgrades;
    // "The following NEW packages will be installed:"
    std::vector<std::string> installs;
    // Packages APT cannot process: those named on the unmet-dependency lines, and those it
    // cannot find or has no such version of.
    std::vector<std::string> incompatible;

    // Reads the simulation's output. Architecture qualifiers (":iphoneos-arm") and removal
    // marks ("foo*") are dropped.
    static APTDependsTree fromSimulationOutput(std::string_view output);

    bool operator==(const APTDependsTree&) const = default;
};

}  // namespace corvane
