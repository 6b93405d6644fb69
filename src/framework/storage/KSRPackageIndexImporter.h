#pragma once

#include <future>
#include <string>
#include <string_view>

#include "foundation/DispatchQueue.h"
#include "foundation/Result.h"
#include "foundation/Value.h"
#include "framework/storage/KSRPackageIndexBatch.h"
#include "framework/storage/KSRPackageIndexPreparer.h"
#include "framework/storage/KSRPackageIndexSummary.h"
#include "framework/storage/KSRPackageIndexText.h"
#include "store/Realm.h"

namespace corvane {

// Stores the packages of one source's Packages index in one write transaction.
//
// - A stanza without a Package field, whose Package is no valid Debian package name, or whose
//   Version is no valid Debian version, is refused with a log line: names and versions reach
//   APT command lines later, and the summary lists the refused stanzas so that APT never reads
//   them either.
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
// dictionary per stanza), the text arrives in pieces (stored while the rest is still being
// decompressed, and let go once stored), a KSRPackageIndexPreparer prepares the records on a
// helper thread a batch ahead of the writes, and only records that change are written. A package
// whose stanzas are spread over the index is written again each time another of them comes.
class KSRPackageIndexImporter {
  public:
    using Summary = KSRPackageIndexSummary;

    static Summary importIndex(const std::string& sourceLocation, std::string_view indexText,
                               double now);
    // Nothing is stored when the text ends in an error, or cannot be read again: that error is
    // the outcome.
    static foundation::Result<Summary> importIndex(const std::string& sourceLocation,
                                                   KSRPackageIndexText& text, double now);
    // The stanzas as KSParsingUtility::arrayFromPackagesFromString gives them: each is read
    // again from its "rawPackage".
    static Summary importPackages(const std::string& sourceLocation,
                                  const foundation::Array& stanzas, double now);

  private:
    struct UnreadableIndex {
        foundation::Error reason;
    };

    KSRPackageIndexImporter(const std::string& sourceLocation, double now,
                            KSRPackageIndexText& text);
    void import();
    std::future<KSRPackageIndexBatch> prepareNextBatch(KSRPackageIndexBatch written);
    void write(const KSRPackageIndexBatch& batch) const;
    void widenCacheOnceDecoded();
    void updateSource(std::size_t packagesCount) const;

    // While the text is decompressed, the decoder's dictionary (8 MiB for xz's usual setting)
    // takes memory; once it is let go, the writer's page cache takes about as much more, as the
    // indexes of a large import outgrow the usual 4 MiB: pages written out and read back over
    // and over cost a sixth of the import's time, and slow APT building its caches meanwhile.
    static constexpr int kDecodedCacheKibibytes = 8 * 1024;

    store::Realm realm_;
    std::string location_;
    const KSRPackageIndexText& text_;
    bool cacheWidened_ = false;
    // Used on preparer_'s thread only.
    KSRPackageIndexPreparer preparing_;
    Summary summary_;
    // Last, so that it is gone, and the batch it may still prepare done, before the rest.
    foundation::DispatchQueue preparer_{"index.prepare", 1};
};

}  // namespace corvane
