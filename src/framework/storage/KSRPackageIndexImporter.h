#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "framework/storage/KSRPackage.h"
#include "store/Realm.h"

namespace corvane {

// Stores the packages of one source's index, as a refresh has parsed it
// (KSParsingUtility::arrayFromPackagesFromString), in one write transaction.
//
// - A stanza whose Package is no valid Debian package name, or whose Version is no valid Debian
//   version, is refused with a log line: both reach APT command lines later.
// - A package takes the control fields of the source with its greatest version; every source's
//   versions are kept in availableVersions, greatest first.
// - The user's and dpkg's fields (queue, wishlist, rating, purchases, install state,
//   screenshots, compatibility) are kept; isUpdated follows the new version.
// - A package seen for the first time gets initialDate, and updatedDateStr unless this is the
//   source's first import (a new source's packages are not news). A package whose version grew
//   gets hasNewVersion and updatedDateStr.
// - A package this source no longer lists falls back to its greatest version elsewhere; with
//   none it stays, without source, when installed, and is deleted otherwise.
class KSRPackageIndexImporter {
  public:
    struct Summary {
        std::size_t stored = 0;
        std::size_t refused = 0;
        std::size_t removed = 0;
    };

    // now: seconds since 1970, for initialDate and updatedDateStr.
    static Summary importPackages(const std::string& sourceLocation,
                                  const foundation::Array& stanzas, double now);

  private:
    struct IndexEntry {
        foundation::Dictionary stanza;
        std::string version;
    };
    using Index = std::map<std::string, std::vector<IndexEntry>>;

    KSRPackageIndexImporter(std::string sourceLocation, double now);
    Index validEntries(const foundation::Array& stanzas);
    void readStoredVersions();
    void storePackage(const std::string& identifier, const std::vector<IndexEntry>& entries);
    void replaceOwnVersions(KSRPackage& package, const std::vector<IndexEntry>& entries);
    void takeGreatestVersion(KSRPackage& package) const;
    void dropPackage(const std::string& identifier);
    void deleteVanishedVersions();
    void updateSource(std::size_t packagesCount);

    store::Realm realm_;
    std::string location_;
    double now_;
    std::string nowText_;
    Summary summary_;
    // This source's versions as stored before the import, and their packages.
    std::set<std::string> storedVersionKeys_;
    std::set<std::string> storedIdentifiers_;
    std::set<std::string> importedVersionKeys_;
};

}  // namespace corvane
