#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "foundation/DispatchQueue.h"
#include "foundation/Result.h"
#include "foundation/Value.h"
#include "framework/debian/ControlStanza.h"
#include "framework/debian/StanzaReader.h"
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
// An index holds tens of thousands of packages, so the stanzas are read as views of the text (no
// dictionary per stanza), the text may arrive in pieces (stored while the rest is still being
// decompressed), the stanzas are read, the stored records looked up and the new ones built on a
// helper thread while the ones before them are written, and only records that change are
// written. A package whose stanzas are spread over the index is written again each time another
// of them comes.
class KSRPackageIndexImporter {
  public:
    struct Summary {
        std::size_t stored = 0;
        std::size_t refused = 0;
        std::size_t removed = 0;
    };
    // The index text piece by piece, each ending where a stanza ends and staying valid until the
    // import returns; nullopt after the last, an error when the text turns out to be no index.
    using Pieces = std::function<foundation::Result<std::optional<std::string_view>>()>;

    // now: seconds since 1970, for initialDate and updatedDateStr.
    static Summary importIndex(const std::string& sourceLocation, std::string_view indexText,
                               double now);
    // Nothing is stored when the pieces end in an error: that error is the outcome.
    static foundation::Result<Summary> importIndex(const std::string& sourceLocation,
                                                   const Pieces& pieces, double now);
    // The stanzas as KSParsingUtility::arrayFromPackagesFromString gives them: each is read
    // again from its "rawPackage".
    static Summary importPackages(const std::string& sourceLocation,
                                  const foundation::Array& stanzas, double now);

  private:
    // Packages prepared ahead of the writes; enough to keep both threads busy, few enough to
    // keep little in memory.
    static constexpr std::size_t kBatchSize = 512;

    // One valid stanza; the views point into the index text or ownedValues_.
    struct IndexEntry {
        std::string_view identifier;
        std::string_view version;
        std::optional<std::string_view> filename;
        std::string_view stanza;
        // The batch that read it, and where its fields are in batchFields_ while that batch is
        // being prepared.
        std::size_t batch = 0;
        std::size_t firstField = 0;
        std::size_t fieldCount = 0;
    };
    struct PackageStanzas {
        std::string_view identifier() const { return entries.front().identifier; }

        std::vector<IndexEntry> entries;
        // The batch that last added to entries.
        std::size_t batch = 0;
        bool lookedUp = false;
        bool prepared = false;
    };
    // A record to write, and the stored one it must differ from to be written; none when it
    // must be written anyway.
    struct PreparedPackage {
        KSRPackage package;
        const KSRPackage* stored = nullptr;
    };
    struct Batch {
        std::vector<PreparedPackage> packages;
        bool last = false;
        // The reason the text is no index, found while reading this batch.
        std::optional<foundation::Error> unreadable;
    };
    struct UnreadableIndex {
        foundation::Error reason;
    };

    KSRPackageIndexImporter(std::string sourceLocation, double now);
    void import(const Pieces& pieces);
    std::future<Batch> prepareNextBatch(const Pieces& pieces, Batch written);
    Batch prepareBatch(const Pieces& pieces);
    // Reads stanzas until kBatchSize packages have new ones; false at the end of the index, or
    // when it turns out to be no index.
    bool readBatch(const Pieces& pieces, Batch& batch);
    void addStanza(const ControlStanza& stanza);
    // The field's value as a dictionary would hold it; empty when there is no field.
    std::string_view valueOf(const ControlStanza::Field* field);
    bool isValid(std::string_view identifier, std::string_view version);
    void readStoredVersions();
    std::vector<std::string> unseenIdentifiers();
    void readStoredPackages(const std::vector<std::string>& identifiers);
    KSRPackage buildPackage(const std::vector<IndexEntry>& entries, const KSRPackage* stored) const;
    void applyControlFields(const IndexEntry& entry, KSRPackage& package) const;
    void replaceOwnVersions(KSRPackage& package, const std::vector<IndexEntry>& entries) const;
    void takeGreatestVersion(KSRPackage& package) const;
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
    std::optional<StanzaReader> reader_;
    std::unordered_map<std::string_view, PackageStanzas> packages_;
    // The packages given new stanzas by the batch being read, in index order; the map's
    // elements stay where they are as it grows.
    std::vector<PackageStanzas*> batchPackages_;
    std::vector<ControlStanza::Field> batchFields_;
    std::size_t batch_ = 1;
    // The values of fields that go on over several lines, which are no views of the text.
    std::deque<std::string> ownedValues_;
    // The records concerned, as stored before the import: those the index names and those
    // holding a version of this source. The writer reads them while the map grows.
    std::map<std::string, KSRPackage, std::less<>> storedPackages_;
    // This source's packages as stored before the import, and its versions not listed again
    // (yet).
    std::set<std::string, std::less<>> storedIdentifiers_;
    std::set<std::string, std::less<>> unlistedVersionKeys_;
    // Packages new to this source are news unless the source is new itself.
    bool firstImport_ = true;
    // Last, so that it is gone, and the batch it may still prepare done, before the rest.
    foundation::DispatchQueue preparer_{"index.prepare", 1};
};

}  // namespace corvane
