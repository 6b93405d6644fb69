#include "uikit/Device.h"

#include "foundation/SharedInstance.h"

#include <cstdlib>
#include <vector>

namespace uikit {

namespace {

std::vector<long> versionParts(const std::string& version) {
    std::vector<long> parts;
    std::size_t start = 0;
    while (start <= version.size()) {
        std::size_t dot = version.find('.', start);
        std::string part =
            version.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        parts.push_back(std::strtol(part.c_str(), nullptr, 10));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return parts;
}

}  // namespace

Device& Device::current() {
    static auto* device = new foundation::SharedInstance<Device>(
        [] { return std::shared_ptr<Device>(new Device()); });
    return device->get();
}

#define UIKIT_DEVICE_PROPERTY(Type, getter, setter, member) \
    Type Device::getter() const {                           \
        std::lock_guard lock(mutex_);                       \
        return member;                                      \
    }                                                       \
    void Device::setter(Type value) {                       \
        std::lock_guard lock(mutex_);                       \
        member = std::move(value);                          \
    }

UIKIT_DEVICE_PROPERTY(std::string, model, setModel, model_)
UIKIT_DEVICE_PROPERTY(std::string, name, setName, name_)
UIKIT_DEVICE_PROPERTY(std::string, systemName, setSystemName, systemName_)
UIKIT_DEVICE_PROPERTY(std::string, systemVersion, setSystemVersion, systemVersion_)
UIKIT_DEVICE_PROPERTY(UserInterfaceIdiom, userInterfaceIdiom, setUserInterfaceIdiom, idiom_)

#undef UIKIT_DEVICE_PROPERTY

bool Device::systemVersionAtLeast(const std::string& version) const {
    auto mine = versionParts(systemVersion());
    auto theirs = versionParts(version);
    std::size_t count = std::max(mine.size(), theirs.size());
    mine.resize(count, 0);
    theirs.resize(count, 0);
    return mine >= theirs;
}

}  // namespace uikit
