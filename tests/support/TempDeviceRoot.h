#pragma once

#include <string>

namespace testing_support {

// A fresh device root in a temporary folder, made the process's root for the object's lifetime
// and removed afterwards.
class TempDeviceRoot {
  public:
    TempDeviceRoot();
    ~TempDeviceRoot();
    TempDeviceRoot(const TempDeviceRoot&) = delete;
    TempDeviceRoot& operator=(const TempDeviceRoot&) = delete;

    const std::string& path() const { return path_; }
    // The host path of a device path ("/var/lib/dpkg/status").
    std::string resolve(const std::string& devicePath) const;

  private:
    std::string path_;
};

}  // namespace testing_support
