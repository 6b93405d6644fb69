#pragma once

#include <string>
#include <string_view>

namespace device {

// Who the device says it is. Each value is derived from the host once and can be replaced by
// a test.
class Identity {
  public:
    // The machine field of uname ("x86_64", "arm64").
    static std::string modelIdentifier();
    static std::string firmwareVersion();
    // 40 lower-case hex digits, the same for every call and every run on this machine: the
    // SHA-256 of the machine id, or of the host name where there is no machine id, cut to 40
    // digits.
    static std::string uniqueDeviceIdentifier();

    static void setModelIdentifier(std::string value);
    static void setFirmwareVersion(std::string value);
    static void setUniqueDeviceIdentifier(std::string value);

    static constexpr std::string_view kDefaultFirmwareVersion = "14.3";
};

}  // namespace device
