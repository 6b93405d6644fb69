#include "framework/storage/KSRPackageIndexImporter.h"

#include <exception>
#include <memory>
#include <utility>

#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackageIndexString.h"
#include "framework/storage/KSRSource.h"

namespace corvane {

KSRPackageIndexImporter::Summary KSRPackageIndexImporter::importPackages(
    const std::string& sourceLocation, const foundation::Array& stanzas, double now) {
    std::string indexText;
    for (const auto& stanza : stanzas) {
        if (const auto* raw = stanza["rawPackage"].string())
            indexText.append(*raw).append("\n\n");
    }
    auto summary = importIndex(sourceLocation, indexText, now);
    // Places in a text that the caller never sees.
    summary.refusedStanzas.clear();
    return summary;
}

KSRPackageIndexImporter::Summary KSRPackageIndexImporter::importIndex(
    const std::string& sourceLocation, std::string_view indexText, double now) {
    KSRPackageIndexString text(indexText);
    auto imported = importIndex(sourceLocation, text, now);
    return *imported;
}

foundation::Result<KSRPackageIndexImporter::Summary> KSRPackageIndexImporter::importIndex(
    const std::string& sourceLocation, KSRPackageIndexText& text, double now) {
    KSRPackageIndexImporter importer(sourceLocation, now, text);
    try {
        importer.realm_.write([&] { importer.import(); });
    } catch (const UnreadableIndex& unreadable) {
        return unreadable.reason;
    }
    return std::move(importer.summary_);
}

KSRPackageIndexImporter::KSRPackageIndexImporter(const std::string& sourceLocation, double now,
                                                 KSRPackageIndexText& text)
    : realm_(KSDatabase::realm()),
      location_(sourceLocation),
      text_(text),
      preparing_(sourceLocation, now, text) {}

// SQLite writes one record at a time on this thread, so everything else (reading the stanzas,
// looking up the stored records, building the new ones) is done on a helper thread a batch
// ahead.
void KSRPackageIndexImporter::import() {
    auto preparing = prepareNextBatch({});
    KSRPackageIndexBatch written;
    for (bool last = false; !last;) {
        auto batch = preparing.get();
        if (batch.unreadable)
            throw UnreadableIndex{*batch.unreadable};
        last = batch.last;
        if (!last)
            preparing = prepareNextBatch(std::move(written));
        widenCacheOnceDecoded();
        write(batch);
        if (batch.summary)
            summary_ = std::move(*batch.summary);
        written = std::move(batch);
    }
    updateSource(summary_.stored);
}

// One thread prepares every batch, and frees the batch written before: glibc's malloc frees
// memory that another thread allocated slowly, under a lock the two threads then share.
std::future<KSRPackageIndexBatch> KSRPackageIndexImporter::prepareNextBatch(
    KSRPackageIndexBatch written) {
    auto promise = std::make_shared<std::promise<KSRPackageIndexBatch>>();
    auto garbage = std::make_shared<KSRPackageIndexBatch>(std::move(written));
    preparer_.async([this, promise, garbage] {
        *garbage = {};
        try {
            promise->set_value(preparing_.nextBatch());
        } catch (...) {
            promise->set_exception(std::current_exception());
        }
    });
    return promise->get_future();
}

void KSRPackageIndexImporter::widenCacheOnceDecoded() {
    if (cacheWidened_ || !text_.releasedDecoderMemory())
        return;
    realm_.setWriteCacheKibibytes(kDecodedCacheKibibytes);
    cacheWidened_ = true;
}

void KSRPackageIndexImporter::write(const KSRPackageIndexBatch& batch) const {
    for (const auto& package : batch.changed)
        realm_.addOrUpdateObject(package);
    for (const auto& package : batch.deleted)
        realm_.deleteObject(package);
    for (const auto& key : batch.vanishedVersionKeys) {
        KSRPackageVersion vanished;
        vanished.key = key;
        realm_.deleteObject(vanished);
    }
}

void KSRPackageIndexImporter::updateSource(std::size_t packagesCount) const {
    auto source = realm_.objectForPrimaryKey<KSRSource>(location_);
    if (!source)
        return;
    source->packagesCount = static_cast<std::int64_t>(packagesCount);
    realm_.addOrUpdateObject(*source);
}

}  // namespace corvane
