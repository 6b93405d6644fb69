#pragma once

#include <functional>
#include <string_view>

#include "foundation/Value.h"

namespace corvane {

// Reader of control-file stanzas for the package data: repository Packages indexes, the dpkg
// status file, a package's control file.
class KSParsingUtility {
  public:
    // One dictionary per stanza that names a "Package", read as ControlFileParser describes;
    // an empty text gives an empty array.
    static foundation::Array arrayFromPackagesFromString(std::string_view text);
    // Re-reads the dpkg status file on a background queue and marks the installed packages
    // (KSStatusFileSync); the completion (may be empty) then runs on the main queue.
    static void checkStatusFileWithCompletion(std::function<void()> completion);
};

}  // namespace corvane
