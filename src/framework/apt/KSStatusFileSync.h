#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "framework/storage/KSRPackage.h"
#include "store/Realm.h"

namespace corvane {

// Brings the install state of the package records in line with the device root's dpkg database
// ("/var/lib/dpkg/status" and the file lists in "/var/lib/dpkg/info").
//
// A package counts as installed when dpkg has configured it: the status "installed", or
// "triggers-awaited" / "triggers-pending" (configured, only its triggers still to run), and also
// when a run cut short left it "half-installed", "unpacked" or "half-configured": its files may
// be partly there and its scripts not all run, but it is on the device, and its page must offer
// to reinstall or remove it. The report lists those apart, for the repair. Packages that were
// removed ("config-files", "not-installed") are not installed.
//
// Installed packages get installedVersion, installDate (when dpkg wrote their file list),
// installedFiles, isHeld ("hold" selection) and isUpdated (the repository version is greater).
// An installed package without a record is added as one without a source. Records no longer
// installed are unmarked; a record without a source is then deleted, as nothing offers it.
// dpkg stores names in lower case; records are matched ignoring case.
class KSStatusFileSync {
  public:
    struct Report {
        std::vector<std::string> installed;
        std::vector<std::string> partiallyInstalled;
        std::vector<std::string> added;
        std::vector<std::string> unmarked;
    };

    static constexpr std::uint64_t kMaxStatusFileBytes = 64ull << 20;
    static constexpr std::uint64_t kMaxFileListBytes = 16ull << 20;

    // Reads and marks in one write transaction; synchronous, from any thread, one run at a time.
    // Both files are read as a package may have left them (KSDeviceFile): nothing changes when
    // the status file is refused or cannot be read, and a refused file list gives no files; each
    // refusal is logged. A missing status file means nothing is installed.
    static Report synchronise();
    // The report of the last synchronisation.
    static Report lastReport();

  private:
    struct InstalledPackage {
        foundation::Dictionary stanza;
        std::string name;
        std::string version;
        bool isHeld = false;
    };

    explicit KSStatusFileSync(store::Realm realm) : realm_(std::move(realm)) {}
    bool readStatusFile();
    void markInstalled(const InstalledPackage& installed);
    void unmarkRemoved();
    std::optional<KSRPackage> storedPackage(const std::string& name) const;
    static std::vector<std::string> installedFiles(const InstalledPackage& installed,
                                                   std::optional<double>* installDate);

    store::Realm realm_;
    // By lower-case name.
    std::map<std::string, InstalledPackage> installed_;
    std::vector<std::string> markedIdentifiers_;
    Report report_;
};

}  // namespace corvane
