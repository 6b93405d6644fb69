#pragma once

#include <string>
#include <string_view>

namespace foundation {

// The folder that stands for the device's file system. Every absolute path the system names
// ("/var/mobile/Library/...", "/var/lib/dpkg/status") is resolved below it.
class DeviceRoot {
  public:
    // The root chosen by set(), else the environment variable CORVANE_ROOT, else
    // "$HOME/.local/share/corvane/device". Absolute, without a trailing slash.
    static std::string path();
    static void set(const std::string& path);
    // "/var/lib/dpkg/status" -> "<root>/var/lib/dpkg/status". A relative path is taken as
    // relative to the device's "/".
    static std::string resolve(std::string_view devicePath);
    // Absolute and lexically normal, without a trailing slash.
    static std::string normalised(const std::string& path);
};

}  // namespace foundation
