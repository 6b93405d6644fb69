#pragma once

#include <string>
#include <string_view>

namespace foundation {

// The folder that holds the program's own files: the paths the device would keep them at
// ("/var/mobile/Library/Logs/...", "/var/Keychains/...") resolve below it, never below the device
// root, where whatever a package brings may write.
class DataFolder {
  public:
    // The folder chosen by set(), else the environment variable CORVANE_DATA, else the device
    // root's path followed by "-data" (beside it). Absolute, without a trailing slash.
    static std::string path();
    static void set(const std::string& path);
    // "/var/mobile/Library/Logs" -> "<data folder>/var/mobile/Library/Logs".
    static std::string resolve(std::string_view devicePath);
};

}  // namespace foundation
