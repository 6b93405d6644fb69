#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "foundation/Result.h"
#include "framework/debian/ControlStanza.h"
#include "framework/debian/StanzaReader.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRPackageIndexBatch.h"
#include "store/Realm.h"

namespace corvane {

// The preparing half of an index import (KSRPackageIndexImporter): reads the stanzas, looks up
// the stored records, builds the new ones and keeps those that change, batch after batch, while
// the writer stores the batch before. Everything it hands over is a copy, so it is used by one
// thread at a time and shares nothing with the writer.
//
// It reads the stored records outside the write transaction, which shows them as they were
// before the import, and only while that transaction keeps every other writer out.
class KSRPackageIndexPreparer {
  public:
    // The index text piece by piece, each ending where a stanza ends and staying valid until the
    // import returns; nullopt after the last, an error when the text turns out to be no index.
    using Pieces = std::function<foundation::Result<std::optional<std::string_view>>()>;

    // now: seconds since 1970, for initialDate and updatedDateStr.
    KSRPackageIndexPreparer(std::string sourceLocation, double now, const Pieces& pieces);

    // The next batch; the last one also holds what the index no longer lists, and the summary.
    KSRPackageIndexBatch nextBatch();

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
        // Handed over before in this import: what is stored is no longer what was read.
        bool handedOver = false;
    };

    // Reads stanzas until kBatchSize packages have new ones; false at the end of the index, or
    // when it turns out to be no index.
    bool readBatch(KSRPackageIndexBatch& batch);
    void addStanza(const ControlStanza& stanza);
    // The field's value as a dictionary would hold it; empty when there is no field.
    std::string_view valueOf(const ControlStanza::Field* field);
    // Logs and counts the stanza when it is refused.
    bool isValid(const ControlStanza& stanza, std::optional<std::string_view> identifier,
                 std::string_view version);
    void readStoredVersions();
    std::vector<std::string> unseenIdentifiers();
    void readStoredPackages(const std::vector<std::string>& identifiers);
    void prepare(PackageStanzas& stanzas, KSRPackageIndexBatch& batch);
    KSRPackage buildPackage(const std::vector<IndexEntry>& entries, const KSRPackage* stored) const;
    void applyControlFields(const IndexEntry& entry, KSRPackage& package) const;
    void replaceOwnVersions(KSRPackage& package, const std::vector<IndexEntry>& entries) const;
    void takeGreatestVersion(KSRPackage& package) const;
    const KSRPackage* storedPackage(std::string_view identifier) const;
    void dropVanishedPackages(KSRPackageIndexBatch& batch);
    void dropPackage(const KSRPackage& stored, KSRPackageIndexBatch& batch);
    static void keepIfChanged(KSRPackage package, const KSRPackage* stored,
                              KSRPackageIndexBatch& batch);

    store::Realm realm_;
    std::string location_;
    double now_;
    std::string nowText_;
    const Pieces& pieces_;
    KSRPackageIndexSummary summary_;
    std::optional<StanzaReader> reader_;
    std::unordered_map<std::string_view, PackageStanzas> packages_;
    // The packages given new stanzas by the batch being read, in index order; the map's
    // elements stay where they are as it grows.
    std::vector<PackageStanzas*> batchPackages_;
    std::vector<ControlStanza::Field> batchFields_;
    std::size_t batch_ = 1;
    bool started_ = false;
    // The values of fields that go on over several lines, which are no views of the text.
    std::deque<std::string> ownedValues_;
    // The records concerned, as stored before the import: those the index names and those
    // holding a version of this source.
    std::map<std::string, KSRPackage, std::less<>> storedPackages_;
    // This source's packages as stored before the import, and its versions not listed again
    // (yet).
    std::set<std::string, std::less<>> storedIdentifiers_;
    std::set<std::string, std::less<>> unlistedVersionKeys_;
    // Packages new to this source are news unless the source is new itself.
    bool firstImport_ = true;
};

}  // namespace corvane
