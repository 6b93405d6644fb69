#pragma once

#include <cstddef>
#include <cstdint>
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
#include "framework/storage/KSRPackageIndexText.h"
#include "store/Realm.h"

namespace corvane {

// The preparing half of an index import (KSRPackageIndexImporter): reads the stanzas, looks up
// the stored records, builds the new ones and keeps those that change, batch after batch, while
// the writer stores the batch before. Everything it hands over is a copy, so it is used by one
// thread at a time and shares nothing with the writer.
//
// It keeps the text of the batch it prepares and, of every package, only where its stanzas are:
// a package whose stanzas are spread over the index has its earlier ones read again.
//
// It reads the stored records outside the write transaction, which shows them as they were
// before the import, and only while that transaction keeps every other writer out.
class KSRPackageIndexPreparer {
  public:
    // now: seconds since 1970, for initialDate and updatedDateStr.
    KSRPackageIndexPreparer(std::string sourceLocation, double now, KSRPackageIndexText& text);

    // The next batch; the last one also holds what the index no longer lists, and the summary.
    KSRPackageIndexBatch nextBatch();

  private:
    // Packages prepared ahead of the writes; enough to keep both threads busy, few enough to
    // keep little in memory.
    static constexpr std::size_t kBatchSize = 512;

    // One valid stanza of a package.
    struct IndexEntry {
        std::uint64_t offset = 0;
        std::uint32_t length = 0;
        // The batch that read it.
        std::uint32_t batch = 0;
    };
    // A package's first stanza, and its others when it has more: most packages have one.
    struct PackageStanzas {
        static constexpr std::uint32_t kNoMore = UINT32_MAX;

        IndexEntry first;
        // Where the others are in moreEntries_, or kNoMore.
        std::uint32_t more = kNoMore;
        // The batch that last added a stanza.
        std::uint32_t batch = 0;
        // Handed over before in this import: what is stored is no longer what was read.
        bool handedOver = false;
    };
    // Cheap enough to be computed again rather than kept in every element, which noexcept tells
    // the map.
    struct NameHash {
        std::size_t operator()(std::string_view name) const noexcept {
            return std::hash<std::string_view>()(name);
        }
    };
    // Keyed by views of names_: tens of thousands of packages are known until the import ends.
    using Packages = std::unordered_map<std::string_view, PackageStanzas, NameHash>;
    // A stanza of the batch being prepared: where it is in the index, and views of its pieces
    // and of batchFields_. In index order, so found by where it is.
    struct BatchStanza {
        std::uint64_t offset = 0;
        std::string_view text;
        std::size_t firstField = 0;
        std::size_t fieldCount = 0;
    };
    // A stanza as prepare() reads it, of this batch or read again.
    struct Stanza {
        ControlStanza fields;
        std::string_view version;
        std::optional<std::string_view> filename;
    };

    // Reads stanzas until kBatchSize packages have new ones; false at the end of the index, or
    // when it turns out to be no index.
    bool readBatch(KSRPackageIndexBatch& batch);
    // The pieces the batch before read, all but the one still being read.
    void dropReadPieces();
    void addStanza(const ControlStanza& stanza);
    // Where the stanza, of the piece being read, starts in the text.
    std::uint64_t offsetOf(const ControlStanza& stanza) const;
    // The field's value as a dictionary would hold it; empty when there is no field.
    std::string_view valueOf(const ControlStanza::Field* field);
    // Logs and counts the stanza when it is refused.
    bool isValid(const ControlStanza& stanza, std::optional<std::string_view> identifier,
                 std::string_view version);
    void readStoredVersions();
    std::vector<std::string> batchIdentifiers() const;
    void readStoredPackages(const std::vector<std::string>& identifiers);
    // Fails when a stanza read again is not what it was.
    foundation::Status prepare(Packages::value_type& stanzas, KSRPackageIndexBatch& batch);
    // The name kept in names_.
    std::string_view keptName(std::string_view name);
    std::vector<IndexEntry> entriesOf(const PackageStanzas& package) const;
    foundation::Result<std::vector<Stanza>> stanzasOf(const std::vector<IndexEntry>& entries);
    foundation::Result<Stanza> readAgain(const IndexEntry& entry);
    Stanza stanzaOf(const ControlStanza& fields);
    KSRPackage buildPackage(std::string_view identifier, const std::vector<Stanza>& stanzas,
                            const KSRPackage* stored) const;
    void replaceOwnVersions(KSRPackage& package, const std::vector<Stanza>& stanzas) const;
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
    KSRPackageIndexText& text_;
    KSRPackageIndexSummary summary_;
    Packages packages_;
    // The names of packages_, one after another in blocks that never move.
    std::deque<std::string> names_;
    std::vector<std::vector<IndexEntry>> moreEntries_;
    std::uint32_t batch_ = 1;
    bool started_ = false;

    // The pieces the batch reads, the reader of the last one, and where that one starts in the
    // text; the deque keeps each piece where it is as pieces come and go.
    std::deque<std::string> pieces_;
    std::optional<StanzaReader> reader_;
    std::uint64_t pieceOffset_ = 0;
    // What the batch read: the packages given new stanzas, in index order (the map's elements
    // stay where they are as it grows), their stanzas and fields, values of fields that go on
    // over several lines (no views of the text), and stanzas read again.
    std::vector<Packages::value_type*> batchPackages_;
    std::vector<BatchStanza> batchStanzas_;
    std::vector<ControlStanza::Field> batchFields_;
    std::deque<std::string> ownedValues_;
    std::deque<std::string> readAgainTexts_;
    std::deque<std::vector<ControlStanza::Field>> readAgainFields_;

    // The records concerned by the batch, as stored before the import: those it names, and at
    // the end those holding a version of this source that the index no longer names.
    std::map<std::string, KSRPackage, std::less<>> storedPackages_;
    // This source's packages as stored before the import, and its versions not listed again
    // (yet).
    std::set<std::string, std::less<>> storedIdentifiers_;
    std::set<std::string, std::less<>> unlistedVersionKeys_;
    // Packages new to this source are news unless the source is new itself.
    bool firstImport_ = true;
};

}  // namespace corvane
