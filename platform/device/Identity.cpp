#include "device/Identity.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <fstream>
#include <mutex>
#include <optional>

#include "foundation/Digest.h"

namespace device {

namespace {

// A machine id is 32 hex digits and a line end; anything longer is not one.
constexpr std::size_t kMachineIDLimit = 64;

std::mutex mutex;
std::optional<std::string> model;
std::optional<std::string> firmware;
std::optional<std::string> identifier;

std::string trimmed(std::string text) {
    const char* blanks = " \t\r\n";
    auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string machineID() {
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        std::ifstream file(path);
        std::string text(kMachineIDLimit + 1, '\0');
        file.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(file.gcount()));
        if (text.size() <= kMachineIDLimit && !trimmed(text).empty())
            return trimmed(text);
    }
    return {};
}

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return "localhost";
    return name;
}

std::string derivedIdentifier() {
    constexpr std::size_t kIdentifierLength = 40;
    std::string source = machineID();
    return foundation::sha256Hex(source.empty() ? hostName() : source).substr(0, kIdentifierLength);
}

std::string unameMachine() {
    utsname names{};
    if (uname(&names) != 0)
        return {};
    return names.machine;
}

}  // namespace

std::string Identity::modelIdentifier() {
    std::lock_guard lock(mutex);
    if (!model)
        model = unameMachine();
    return *model;
}

std::string Identity::firmwareVersion() {
    std::lock_guard lock(mutex);
    return firmware.value_or(std::string(kDefaultFirmwareVersion));
}

std::string Identity::uniqueDeviceIdentifier() {
    std::lock_guard lock(mutex);
    if (!identifier)
        identifier = derivedIdentifier();
    return *identifier;
}

void Identity::setModelIdentifier(std::string value) {
    std::lock_guard lock(mutex);
    model = std::move(value);
}

void Identity::setFirmwareVersion(std::string value) {
    std::lock_guard lock(mutex);
    firmware = std::move(value);
}

void Identity::setUniqueDeviceIdentifier(std::string value) {
    std::lock_guard lock(mutex);
    identifier = std::move(value);
}

}  // namespace device
