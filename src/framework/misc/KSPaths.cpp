#include "framework/misc/KSPaths.h"

#include "foundation/DeviceRoot.h"

namespace corvane {

using foundation::DeviceRoot;

std::string KSPaths::dataDirectory() {
    return DeviceRoot::resolve(kDataDirectory);
}

std::string KSPaths::dataPath(std::string_view name) {
    return dataDirectory() + "/" + std::string(name);
}

std::string KSPaths::logDirectory() {
    return DeviceRoot::resolve(kLogDirectory);
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
