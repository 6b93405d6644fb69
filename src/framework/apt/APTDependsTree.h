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
    // Why APT could not simulate the queue, when it failed without naming a package it cannot
    // process: its error lines ("E: Can't find a source to download version '1.0' of
    // 'foo:iphoneos-arm'"), or its last line when it ended badly without one. Empty when the
    // simulation did not fail that way.
    std::vector<std::string> failure;

    // Reads the simulation's output and exit status. Architecture qualifiers (":iphoneos-arm")
    // and removal marks ("foo*") are dropped.
    static APTDependsTree fromSimulationOutput(std::string_view output, int status = 0);

    bool operator==(const APTDependsTree&) const = default;
};

}  // namespace corvane
