#include "support/TempDeviceRoot.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "foundation/DeviceRoot.h"

namespace testing_support {

TempDeviceRoot::TempDeviceRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-root-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary device root");
    path_ = pattern;
    foundation::DeviceRoot::set(path_);
}

TempDeviceRoot::~TempDeviceRoot() {
    foundation::DeviceRoot::set("");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDeviceRoot::resolve(const std::string& devicePath) const {
    return foundation::DeviceRoot::resolve(devicePath);
}

}  // namespace testing_support
