#include "support/TempDeviceRoot.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "foundation/DataFolder.h"
#include "foundation/DeviceRoot.h"

namespace testing_support {

TempDeviceRoot::TempDeviceRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-root-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary device root");
    folder_ = pattern;
    path_ = folder_ + "/device";
    std::filesystem::create_directory(path_);
    foundation::DeviceRoot::set(path_);
    foundation::DataFolder::set("");
    dataPath_ = foundation::DataFolder::path();
}

TempDeviceRoot::~TempDeviceRoot() {
    foundation::DeviceRoot::set("");
    foundation::DataFolder::set("");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string TempDeviceRoot::resolve(const std::string& devicePath) const {
    return foundation::DeviceRoot::resolve(devicePath);
}

}  // namespace testing_support
