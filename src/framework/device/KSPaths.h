#pragma once

#include <array>
#include <string>
#include <string_view>

namespace corvane {

// The fixed places of the application on the device. Each accessor resolves its device path when
// called, so a changed folder is followed at once: the application's own files under
// foundation::DataFolder, which no package can write, and dpkg's database under
// foundation::DeviceRoot.
class KSPaths {
  public:
    static constexpr std::string_view kDataDirectory =
        "/var/mobile/Library/Application Support/Corvane";
    static constexpr std::string_view kPreferenceFileName = "me.kestrune.corvane.plist";
    static constexpr std::string_view kDatabaseFileName = "Corvane.realm";
    static constexpr std::string_view kLogDirectory =
        "/var/mobile/Library/Logs/me.kestrune.corvane";
    static constexpr std::string_view kLogFileName = "corvane.log";
    static constexpr std::string_view kDpkgStatusFile = "/var/lib/dpkg/status";
    static constexpr std::string_view kDpkgInfoDirectory = "/var/lib/dpkg/info";

    // The subdirectories of the data directory, in the order the launch creates them.
    static constexpr std::array<std::string_view, 7> kDataSubdirectories = {
        "Downloads",         "Bash",     "SourcesFiles", "ScreenshotsCache", "HomeCache",
        "DepictionsBanners", "IconCache"};

    static std::string dataDirectory();
    // "<data directory>/<name>" for any file or folder kept in the data directory.
    static std::string dataPath(std::string_view name);
    static std::string downloadsDirectory() { return dataPath("Downloads"); }
    static std::string bashDirectory() { return dataPath("Bash"); }
    static std::string sourcesFilesDirectory() { return dataPath("SourcesFiles"); }
    static std::string screenshotsCacheDirectory() { return dataPath("ScreenshotsCache"); }
    static std::string homeCacheDirectory() { return dataPath("HomeCache"); }
    static std::string iconCacheDirectory() { return dataPath("IconCache"); }
    static std::string depictionsBannersDirectory() { return dataPath("DepictionsBanners"); }
    static std::string preferenceFile() { return dataPath(kPreferenceFileName); }
    static std::string databaseFile() { return dataPath(kDatabaseFileName); }

    static std::string logDirectory();
    static std::string logFile();
    static std::string dpkgStatusFile();
    static std::string dpkgInfoDirectory();
};

}  // namespace corvane
