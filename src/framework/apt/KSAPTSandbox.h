#pragma once

#include <string>
#include <vector>

#include "foundation/Result.h"

namespace corvane {

// The files and folders of the private APT configuration, in the data folder. KSAPTManager owns
// the paths; this writes them. The device root's dpkg database is made inside the sandbox
// (KSAPTCommandLine::prepareDevice).
class KSAPTSandbox {
  public:
    // Every folder that is missing, then the configuration file.
    static foundation::Status create();
    // The configuration text for the current device root and data directory; an error when a
    // path holds a character APT's configuration syntax cannot carry.
    static foundation::Result<std::string> configuration();
    // "deb [trusted=yes] <location> ./" for each location that is a plain http or https
    // address; the others are left out with a log line.
    static std::string sourceList(const std::vector<std::string>& locations);
    static bool isListableLocation(const std::string& location);
    // APT rebuilds its caches whole when its source list is newer than they are, however alike
    // the two texts: a file that already holds the text keeps its date.
    static foundation::Status writeIfChanged(const std::string& path, const std::string& text);

  private:
    static foundation::Status createFolders();
};

}  // namespace corvane
