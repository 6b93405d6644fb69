#pragma once

#include <string>

namespace testing_support {

// A fresh device root in a temporary folder, made the process's root, with the data folder
// beside it where the program puts it by default ("<root>-data"). It stays the process's root,
// and on disk, until the process reset that follows the test (support/ProcessReset.h), so that
// work the test left running never reaches the default folder.
class TempDeviceRoot {
  public:
    TempDeviceRoot();
    ~TempDeviceRoot();
    TempDeviceRoot(const TempDeviceRoot&) = delete;
    TempDeviceRoot& operator=(const TempDeviceRoot&) = delete;

    const std::string& path() const { return path_; }
    const std::string& dataPath() const { return dataPath_; }
    // A path beside the device root and the data folder, in neither, removed with them.
    std::string scratchPath(const std::string& name) const { return folder_ + "/" + name; }
    // The host path of a device path ("/var/lib/dpkg/status").
    std::string resolve(const std::string& devicePath) const;

  private:
    std::string folder_;
    std::string path_;
    std::string dataPath_;
};

}  // namespace testing_support
