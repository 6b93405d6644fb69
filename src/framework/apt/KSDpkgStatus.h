#pragma once

#include <optional>
#include <string>

namespace corvane {

// One package's "Status" field of dpkg's database ("install ok installed"): what is wanted of
// the package, its error flag and its state.
struct KSDpkgStatus {
    std::string want;
    std::string flag;
    std::string state;

    // Three words, or nothing.
    static std::optional<KSDpkgStatus> parse(const std::string& field);

    // Configured, its triggers perhaps still to run.
    bool isConfigured() const;
    // Left by a run cut short: its files perhaps partly there, its scripts not all run.
    bool isPartlyInstalled() const;
    // What dpkg must still finish: a partly installed package, or one awaiting triggers.
    bool isUnfinished() const;
    // What only a new unpacking mends: half-installed, or marked so by dpkg.
    bool needsReinstall() const;
    bool isHeld() const { return want == "hold"; }
};

}  // namespace corvane
