#include "framework/device/KSPlatform.h"

#include <array>
#include <charconv>
#include <utility>

#include "device/Identity.h"
#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"

namespace corvane {

namespace {

constexpr std::array<std::pair<std::string_view, JailbreakTool>, 4> kMarkers = {{
    {"/.installed_unc0ver", JailbreakTool::Unc0ver},
    {"/.installed_chimera", JailbreakTool::Chimera},
    {"/.bootstrapped_electra", JailbreakTool::Electra},
    {"/.bootstrapped_checkra1n", JailbreakTool::Checkra1n},
}};

// The leading number of a version component; "3b1" reads as 3, text without digits as 0.
long leadingNumber(std::string_view component) {
    long number = 0;
    std::from_chars(component.data(), component.data() + component.size(), number);
    return number;
}

std::string_view nextComponent(std::string_view& rest) {
    auto dot = rest.find('.');
    auto component = rest.substr(0, dot);
    rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    return component;
}

}  // namespace

std::string KSPlatform::deviceModelID() {
    return device::Identity::modelIdentifier();
}

std::string KSPlatform::deviceUDID() {
    return device::Identity::uniqueDeviceIdentifier();
}

std::string KSPlatform::firmwareVersion() {
    return device::Identity::firmwareVersion();
}

JailbreakTool KSPlatform::jailbreakTool() {
    for (const auto& [marker, tool] : kMarkers) {
        if (foundation::FileManager::fileExists(foundation::DeviceRoot::resolve(marker))) {
            return tool;
        }
    }
    return JailbreakTool::Unknown;
}

std::optional<std::string> KSPlatform::jailbreakToolLogLine(int code) {
    static constexpr std::array<std::string_view, 5> kNames = {"unknown", "unc0ver", "chimera",
                                                               "electra", "checkra1n"};
    if (code < 0 || code >= static_cast<int>(kNames.size())) {
        return std::nullopt;
    }
    return "- " + std::string(kNames[code]) + " jailbreak detected";
}

int KSPlatform::compareVersions(std::string_view left, std::string_view right) {
    while (!left.empty() || !right.empty()) {
        long a = leadingNumber(nextComponent(left));
        long b = leadingNumber(nextComponent(right));
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    return 0;
}

bool KSPlatform::isFirmwareAtLeast(std::string_view version) {
    return compareVersions(firmwareVersion(), version) >= 0;
}

}  // namespace corvane
