#include "device/Identity.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <fstream>
#include <optional>

#include "foundation/Digest.h"
#include "foundation/ProcessValue.h"

namespace device {

namespace {

// A machine id is 32 hex digits and a line end; anything longer is not one.
constexpr std::size_t kMachineIDLimit = 64;

// Read from the host on first use unless a value was set.
foundation::ProcessValue<std::optional<std::string>> model;
foundation::ProcessValue<std::optional<std::string>> firmware;
foundation::ProcessValue<std::optional<std::string>> identifier;

std::string valueOf(foundation::ProcessValue<std::optional<std::string>>& value,
                    std::string (*read)()) {
    return value.update([read](std::optional<std::string>& known) {
        if (!known)
            known = read();
        return *known;
    });
}

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
    return valueOf(model, unameMachine);
}

std::string Identity::firmwareVersion() {
    return firmware.get().value_or(std::string(kDefaultFirmwareVersion));
}

std::string Identity::uniqueDeviceIdentifier() {
    return valueOf(identifier, derivedIdentifier);
}

void Identity::setModelIdentifier(std::string value) {
    model.set(std::move(value));
}

void Identity::setFirmwareVersion(std::string value) {
    firmware.set(std::move(value));
}

void Identity::setUniqueDeviceIdentifier(std::string value) {
    identifier.set(std::move(value));
}

}  // namespace device
