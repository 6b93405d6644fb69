#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The detected jailbreak tool; the numbers are the codes the rest of the system stores and logs.
enum class JailbreakTool : int {
    Unknown = 0,
    Unc0ver = 1,
    Chimera = 2,
    Electra = 3,
    Checkra1n = 4,
};

// Facts about the device the application runs on.
class KSPlatform {
  public:
    // The machine field of uname, sent as "X-Machine".
    static std::string deviceModelID();
    // Sent as "X-Unique-ID".
    static std::string deviceUDID();
    // The system version ("14.3"), sent as "X-Firmware".
    static std::string firmwareVersion();

    // Each tool leaves a marker file at the root of the device; the first marker found in this
    // order decides: "/.installed_unc0ver" unc0ver, "/.installed_chimera" chimera,
    // "/.bootstrapped_electra" electra, "/.bootstrapped_checkra1n" checkra1n.
    static JailbreakTool jailbreakTool();
    // "- unc0ver jailbreak detected" and the like for the codes 0 to 4; nullopt for any other.
    static std::optional<std::string> jailbreakToolLogLine(int code);

    // The firmware version compared numerically, component by component ("13.10" > "13.9").
    static bool isFirmwareAtLeast(std::string_view version);
    static int compareVersions(std::string_view left, std::string_view right);
};

}  // namespace corvane
