#include "foundation/DeviceRoot.h"

#include <cstdlib>
#include <filesystem>

#include "foundation/ProcessValue.h"

namespace foundation {

namespace {
ProcessValue<std::string> chosenRoot;
}  // namespace

std::string DeviceRoot::normalised(const std::string& path) {
    std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    while (absolute.size() > 1 && absolute.back() == '/')
        absolute.pop_back();
    return absolute;
}

std::string DeviceRoot::path() {
    if (auto chosen = chosenRoot.get(); !chosen.empty())
        return chosen;
    if (const char* env = std::getenv("CORVANE_ROOT"); env && *env)
        return normalised(env);
    const char* home = std::getenv("HOME");
    return normalised(std::string(home && *home ? home : "/tmp") + "/.local/share/corvane/device");
}

void DeviceRoot::set(const std::string& path) {
    chosenRoot.set(path.empty() ? std::string() : normalised(path));
}

std::string DeviceRoot::resolve(std::string_view devicePath) {
    std::string root = path();
    if (root == "/")
        return devicePath.starts_with('/') ? std::string(devicePath)
                                           : "/" + std::string(devicePath);
    if (devicePath.starts_with('/'))
        return root + std::string(devicePath);
    return root + "/" + std::string(devicePath);
}

}  // namespace foundation
