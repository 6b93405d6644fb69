#pragma once

#include <string>

#include "foundation/Result.h"
#include "framework/apt/KSArchiveControl.h"

namespace corvane {

// Reads the control data of a package archive with "dpkg-deb --info" through the root command
// runner, the command line built by KSAPTManager with every argument quoted as one. It waits
// for its turn on the runner and for the command to end: call it off the main thread.
class KSArchiveReader {
  public:
    static constexpr const char* kErrorDomain = "KSArchiveReader";
    enum ErrorCode : long {
        kUnreadableArchive = 1,  // dpkg-deb failed; the description is what it printed
        kNoControlData = 2,      // dpkg-deb printed no stanza
    };

    // The first stanza of what dpkg-deb printed. Its output is decoded once, whole, as UTF-8,
    // every invalid sequence replaced by U+FFFD, so a broken byte never splits a character
    // and never reaches a label undecoded.
    static foundation::Result<KSArchiveControl> readControl(const std::string& archivePath);
};

}  // namespace corvane
