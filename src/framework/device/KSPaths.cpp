#include "framework/device/KSPaths.h"

#include "foundation/DataFolder.h"
#include "foundation/DeviceRoot.h"

namespace corvane {

using foundation::DeviceRoot;

std::string KSPaths::dataDirectory() {
    return foundation::DataFolder::resolve(kDataDirectory);
}

std::string KSPaths::dataPath(std::string_view name) {
    return dataDirectory() + "/" + std::string(name);
}

std::string KSPaths::logDirectory() {
    return foundation::DataFolder::resolve(kLogDirectory);
}

std::string KSPaths::logFile() {
    return logDirectory() + "/" + std::string(kLogFileName);
}

std::string KSPaths::dpkgStatusFile() {
    return DeviceRoot::resolve(kDpkgStatusFile);
}

std::string KSPaths::dpkgInfoDirectory() {
    return DeviceRoot::resolve(kDpkgInfoDirectory);
}

}  // namespace corvane
