#include "foundation/DataFolder.h"

#include <cstdlib>

#include "foundation/DeviceRoot.h"
#include "foundation/ProcessValue.h"

namespace foundation {

namespace {
ProcessValue<std::string> chosenFolder;
}  // namespace

std::string DataFolder::path() {
    if (auto chosen = chosenFolder.get(); !chosen.empty())
        return chosen;
    if (const char* env = std::getenv("CORVANE_DATA"); env && *env)
        return DeviceRoot::normalised(env);
    return DeviceRoot::path() + "-data";
}

void DataFolder::set(const std::string& path) {
    chosenFolder.set(path.empty() ? std::string() : DeviceRoot::normalised(path));
}

std::string DataFolder::resolve(std::string_view devicePath) {
    if (devicePath.starts_with('/'))
        return path() + std::string(devicePath);
    return path() + "/" + std::string(devicePath);
}

}  // namespace foundation
