#pragma once

#include <string>
#include <vector>

#include "framework/device/KSPlatform.h"

namespace corvane {

// The sources a new database starts with, and those each jailbreak tool needs, from the
// resource "DefaultSources.plist" ("DefaultSources": addresses; "JailbreakSources": tool code to
// addresses). Every address is normalised; one that is no valid address is left out with a log
// line.
class KSRDefaultSources {
  public:
    // Addresses separated by blanks that replace the resource's default list, so that a demo or
    // a test can start from a local repository; set but blank, it means no default source.
    static constexpr const char* kEnvironmentVariable = "CORVANE_DEFAULT_SOURCES";

    static std::vector<std::string> defaultLocations();
    static std::vector<std::string> requiredLocations(JailbreakTool tool);
};

}  // namespace corvane
