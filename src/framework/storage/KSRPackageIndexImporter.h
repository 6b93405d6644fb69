#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Value.h"
#include "framework/apt/ControlStanza.h"
#include "framework/storage/KSRPackage.h"
#include "store/Realm.h"

namespace corvane {

// Stores the packages of one source's Packages index in one write transaction. Stanzas without
// a Package field are passed over, as KSParsingUtility::arrayFromPackagesFromString does.
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
//
// An index holds tens of thousands of packages, so the stored records it concerns are read in
// one query, the stanzas are read as views of the text (no dictionary per stanza), records are
// built on a helper thread while the ones before them are written, and only records that change
// are written.
class KSRPackageIndexImporter {
  public:
    struct Summary {
        std::size_t stored = 0;
        std::size_t refused = 0;
        std::size_t removed = 0;
    };

    // now: seconds since 1970, for initialDate and updatedDateStr.
    static Summary importIndex(const std::string& sourceLocation, std::string_view indexText,
                               double now);
    // The stanzas as KSParsingUtility::arrayFromPackagesFromString gives them: each is read
    // again from its "rawPackage".
    static Summary importPackages(const std::string& sourceLocation,
                                  const foundation::Array& stanzas, double now);

  private:
    // Packages built ahead of the writes; enough to keep both threads busy, few enough to keep
    // little in memory.
    static constexpr std::size_t kBatchSize = 512;

    // One valid stanza; the views point into the index text or ownedValues_.
    struct IndexEntry {
        std::string_view identifier;
        std::string_view version;
        std::optional<std::string_view> filename;
        std::string_view stanza;
    };
    using Entries = std::span<const IndexEntry>;

    KSRPackageIndexImporter(std::string sourceLocation, double now);
    // The valid stanzas grouped by identifier, the groups in identifier order and each in index
    // order.
    void readIndex(std::string_view indexText);
    // The field's value as a dictionary would hold it; empty when there is no field.
    std::string_view valueOf(const ControlStanza::Field* field);
    bool isValid(std::string_view identifier, std::string_view version);
    void readStoredPackages();
    // Each identifier's entries, in identifier order.
    std::vector<Entries> packageGroups() const;
    void storePackages();
    // Builders read only what the import read before them, so they may run on any thread.
    std::vector<KSRPackage> buildPackages(const std::vector<Entries>& groups,
                                          std::size_t first) const;
    KSRPackage buildPackage(Entries entries) const;
    void replaceOwnVersions(KSRPackage& package, Entries entries) const;
    void takeGreatestVersion(KSRPackage& package) const;
    void storePackage(const KSRPackage& package);
    const KSRPackage* storedPackage(std::string_view identifier) const;
    void dropVanishedPackages();
    void dropPackage(const KSRPackage& stored);
    void writeIfChanged(const KSRPackage& package, const KSRPackage* stored) const;
    void deleteVanishedVersions();
    void updateSource();

    store::Realm realm_;
    std::string location_;
    double now_;
    std::string nowText_;
    Summary summary_;
    std::vector<IndexEntry> entries_;
    // The values of fields that go on over several lines, which are no views of the text.
    std::deque<std::string> ownedValues_;
    std::size_t packagesCount_ = 0;
    // The records concerned, as stored before the import: those the index names and those
    // holding a version of this source.
    std::map<std::string, KSRPackage, std::less<>> storedPackages_;
    // This source's versions as stored before the import, and their packages.
    std::set<std::string> storedVersionKeys_;
    std::set<std::string> storedIdentifiers_;
    std::set<std::string> importedVersionKeys_;
};

}  // namespace corvane
