#include "framework/storage/KSRPackageIndexImporter.h"

#include <algorithm>
#include <exception>
#include <future>
#include <memory>
#include <utility>

#include "foundation/DateFormatter.h"
#include "foundation/Log.h"
#include "framework/categories/VersionCompare.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackageControlFields.h"
#include "framework/storage/KSRSource.h"

namespace corvane {

namespace {

bool isGreater(std::string_view version, const std::optional<std::string>& than) {
    return than && greaterThan(version, *than);
}

bool isGreater(const std::optional<std::string>& version, const std::optional<std::string>& than) {
    return version && than && greaterThan(*version, *than);
}

}  // namespace

KSRPackageIndexImporter::Summary KSRPackageIndexImporter::importPackages(
    const std::string& sourceLocation, const foundation::Array& stanzas, double now) {
    std::string indexText;
    for (const auto& stanza : stanzas) {
        if (const auto* raw = stanza["rawPackage"].string())
            indexText.append(*raw).append("\n\n");
    }
    return importIndex(sourceLocation, indexText, now);
}

KSRPackageIndexImporter::Summary KSRPackageIndexImporter::importIndex(
    const std::string& sourceLocation, std::string_view indexText, double now) {
    bool given = false;
    auto imported = importIndex(
        sourceLocation,
        [&]() -> foundation::Result<std::optional<std::string_view>> {
            return std::exchange(given, true) ? std::nullopt : std::optional(indexText);
        },
        now);
    return *imported;
}

foundation::Result<KSRPackageIndexImporter::Summary> KSRPackageIndexImporter::importIndex(
    const std::string& sourceLocation, const Pieces& pieces, double now) {
    KSRPackageIndexImporter importer(sourceLocation, now);
    try {
        importer.realm_.write([&] { importer.import(pieces); });
    } catch (const UnreadableIndex& unreadable) {
        return unreadable.reason;
    }
    return importer.summary_;
}

KSRPackageIndexImporter::KSRPackageIndexImporter(std::string sourceLocation, double now)
    : realm_(KSDatabase::realm()),
      location_(std::move(sourceLocation)),
      now_(now),
      nowText_(foundation::DateFormatter::withFormat("yyyy-MM-dd HH:mm").stringFromDate(now)) {}

// SQLite writes one record at a time on this thread, so everything else (reading the stanzas,
// looking up the stored records, building the new ones) is done on a helper thread a batch
// ahead.
void KSRPackageIndexImporter::import(const Pieces& pieces) {
    readStoredVersions();
    auto preparing = prepareNextBatch(pieces, {});
    Batch written;
    for (bool last = false; !last;) {
        auto batch = preparing.get();
        if (batch.unreadable)
            throw UnreadableIndex{*batch.unreadable};
        last = batch.last;
        if (!last)
            preparing = prepareNextBatch(pieces, std::move(written));
        for (const auto& prepared : batch.packages)
            writeIfChanged(prepared.package, prepared.stored);
        written = std::move(batch);
    }
    summary_.stored = packages_.size();
    dropVanishedPackages();
    deleteVanishedVersions();
    updateSource();
}

// One thread prepares every batch, and frees the batch written before: glibc's malloc frees
// memory that another thread allocated slowly, under a lock the two threads then share.
std::future<KSRPackageIndexImporter::Batch> KSRPackageIndexImporter::prepareNextBatch(
    const Pieces& pieces, Batch written) {
    auto promise = std::make_shared<std::promise<Batch>>();
    auto garbage = std::make_shared<Batch>(std::move(written));
    preparer_.async([this, &pieces, promise, garbage] {
        garbage->packages = {};
        try {
            promise->set_value(prepareBatch(pieces));
        } catch (...) {
            promise->set_exception(std::current_exception());
        }
    });
    return promise->get_future();
}

// Batches are prepared one after another, each once the one before has been taken.
KSRPackageIndexImporter::Batch KSRPackageIndexImporter::prepareBatch(const Pieces& pieces) {
    Batch batch;
    batch.last = !readBatch(pieces, batch);
    if (batch.unreadable)
        return batch;
    readStoredPackages(unseenIdentifiers());
    batch.packages.reserve(batchPackages_.size());
    for (auto* stanzas : batchPackages_) {
        const auto identifier = stanzas->identifier();
        auto package = buildPackage(stanzas->entries, storedPackage(identifier));
        for (const auto& version : package.availableVersions)
            if (version.sourceLocation == location_)
                unlistedVersionKeys_.erase(version.key);
        // Written before in this import: what is stored now is no longer what was read.
        const auto* compared =
            std::exchange(stanzas->prepared, true) ? nullptr : storedPackage(identifier);
        batch.packages.push_back({std::move(package), compared});
    }
    batchPackages_.clear();
    batchFields_.clear();
    ++batch_;
    return batch;
}

bool KSRPackageIndexImporter::readBatch(const Pieces& pieces, Batch& batch) {
    while (batchPackages_.size() < kBatchSize) {
        if (const auto stanza = reader_ ? reader_->next() : std::nullopt) {
            addStanza(*stanza);
            continue;
        }
        auto piece = pieces();
        if (!piece)
            batch.unreadable = piece.error();
        if (!piece || !*piece)
            return false;
        reader_.emplace(**piece);
    }
    return true;
}

void KSRPackageIndexImporter::addStanza(const ControlStanza& stanza) {
    const auto* package = stanza.field("Package");
    if (!package)
        return;
    const auto identifier = valueOf(package);
    const auto version = valueOf(stanza.field("Version"));
    if (!isValid(identifier, version))
        return;
    const auto* filename = stanza.field("Filename");
    auto& stanzas = packages_[identifier];
    stanzas.entries.push_back({identifier, version,
                               filename ? std::optional(valueOf(filename)) : std::nullopt,
                               stanza.text(), batch_, batchFields_.size(), stanza.fields().size()});
    batchFields_.insert(batchFields_.end(), stanza.fields().begin(), stanza.fields().end());
    if (std::exchange(stanzas.batch, batch_) != batch_)
        batchPackages_.push_back(&stanzas);
}

std::string_view KSRPackageIndexImporter::valueOf(const ControlStanza::Field* field) {
    if (!field)
        return {};
    if (!field->continues())
        return field->text;
    return ownedValues_.emplace_back(field->value());
}

bool KSRPackageIndexImporter::isValid(std::string_view identifier, std::string_view version) {
    if (!isValidPackageName(identifier)) {
        KSLog("Refusing the package \"%@\" of %@: not a valid package name", identifier, location_);
    } else if (!isValidDebianVersion(version)) {
        KSLog("Refusing version \"%@\" of %@ from %@: not a valid version", version, identifier,
              location_);
    } else {
        return true;
    }
    ++summary_.refused;
    return false;
}

void KSRPackageIndexImporter::readStoredVersions() {
    for (const auto& version :
         realm_.objectsWhere<KSRPackageVersion>("sourceLocation = %@", location_)) {
        unlistedVersionKeys_.insert(version.key);
        storedIdentifiers_.insert(version.identifier);
    }
    firstImport_ = unlistedVersionKeys_.empty();
    readStoredPackages({storedIdentifiers_.begin(), storedIdentifiers_.end()});
}

void KSRPackageIndexImporter::readStoredPackages(const std::vector<std::string>& identifiers) {
    if (identifiers.empty())
        return;
    for (const auto& package : realm_.objectsWhere<KSRPackage>("identifier IN %@", identifiers))
        storedPackages_.emplace(package.identifier, package);
}

// Packages met for the first time that another source may have stored. They are read on the
// helper thread, outside the write transaction, which sees what was stored before the import.
std::vector<std::string> KSRPackageIndexImporter::unseenIdentifiers() {
    std::vector<std::string> unseen;
    for (auto* stanzas : batchPackages_) {
        if (!std::exchange(stanzas->lookedUp, true) &&
            !storedIdentifiers_.contains(stanzas->identifier()))
            unseen.emplace_back(stanzas->identifier());
    }
    return unseen;
}

KSRPackage KSRPackageIndexImporter::buildPackage(const std::vector<IndexEntry>& entries,
                                                 const KSRPackage* stored) const {
    KSRPackage package = stored ? *stored : KSRPackage{};
    package.identifier = entries.front().identifier;
    const auto previousVersion = package.version;
    const auto previousSource = package.sourceLocation;
    const auto& newest = *std::ranges::max_element(entries, [](const auto& a, const auto& b) {
        return compareVersions(a.version, b.version) < 0;
    });
    if (!stored || !previousSource || *previousSource == location_ ||
        isGreater(newest.version, previousVersion)) {
        applyControlFields(newest, package);
        package.sourceLocation = location_;
    }
    replaceOwnVersions(package, entries);
    takeGreatestVersion(package);
    if (!stored) {
        package.initialDate = now_;
        if (!firstImport_)
            package.updatedDateStr = nowText_;
    } else if (previousSource && isGreater(package.version, previousVersion)) {
        package.hasNewVersion = true;
        package.updatedDateStr = nowText_;
    }
    if (package.isInstalled)
        package.isUpdated = isGreater(package.version, package.installedVersion);
    return package;
}

// A stanza of the batch being prepared was read moments ago; one of an earlier batch (a package
// spread over the index) is read again, as keeping every stanza's fields would cost more memory
// than reading a few twice costs time.
void KSRPackageIndexImporter::applyControlFields(const IndexEntry& entry,
                                                 KSRPackage& package) const {
    if (entry.batch == batch_) {
        const ControlStanza stanza(
            entry.stanza, std::span(batchFields_).subspan(entry.firstField, entry.fieldCount));
        KSRPackageControlFields::apply(stanza, package);
        return;
    }
    StanzaReader reader(entry.stanza);
    KSRPackageControlFields::apply(*reader.next(), package);
}

void KSRPackageIndexImporter::replaceOwnVersions(KSRPackage& package,
                                                 const std::vector<IndexEntry>& entries) const {
    auto& versions = package.availableVersions;
    std::erase_if(versions, [&](const KSRPackageVersion& version) {
        return version.sourceLocation == location_;
    });
    for (const auto& entry : entries) {
        std::string version(entry.version);
        auto key = KSRPackageVersion::makeKey(package.identifier, version, location_);
        if (std::ranges::find(versions, key, &KSRPackageVersion::key) != versions.end())
            continue;
        versions.push_back(
            {std::move(key), package.identifier, std::move(version), location_,
             entry.filename ? std::optional<std::string>(*entry.filename) : std::nullopt});
    }
    std::ranges::stable_sort(versions, [](const KSRPackageVersion& a, const KSRPackageVersion& b) {
        return compareVersions(a.version, b.version) > 0;
    });
}

const KSRPackage* KSRPackageIndexImporter::storedPackage(std::string_view identifier) const {
    const auto found = storedPackages_.find(identifier);
    return found == storedPackages_.end() ? nullptr : &found->second;
}

void KSRPackageIndexImporter::takeGreatestVersion(KSRPackage& package) const {
    if (package.availableVersions.empty())
        return;
    const auto& greatest = package.availableVersions.front();
    if (package.version && !greaterThan(greatest.version, *package.version))
        return;
    package.version = greatest.version;
    package.sourceLocation = greatest.sourceLocation;
    package.filename = greatest.filename;
}

void KSRPackageIndexImporter::dropVanishedPackages() {
    for (const auto& identifier : storedIdentifiers_) {
        if (packages_.contains(identifier))
            continue;
        if (const auto stored = storedPackages_.find(identifier); stored != storedPackages_.end())
            dropPackage(stored->second);
    }
}

void KSRPackageIndexImporter::dropPackage(const KSRPackage& stored) {
    KSRPackage package = stored;
    std::erase_if(package.availableVersions, [&](const KSRPackageVersion& version) {
        return version.sourceLocation == location_;
    });
    if (package.sourceLocation == location_) {
        if (!package.availableVersions.empty()) {
            package.version.reset();
            takeGreatestVersion(package);
        } else if (package.isInstalled) {
            // Only dpkg knows it now: no repository offers another version.
            package.sourceLocation.reset();
            package.version = package.installedVersion;
            package.filename.reset();
        } else {
            realm_.deleteObject(package);
            ++summary_.removed;
            return;
        }
    }
    if (package.isInstalled)
        package.isUpdated = isGreater(package.version, package.installedVersion);
    writeIfChanged(package, &stored);
}

// A refresh of an unchanged index rewrites nothing: most records come out as they were stored.
void KSRPackageIndexImporter::writeIfChanged(const KSRPackage& package,
                                             const KSRPackage* stored) const {
    if (!stored || !KSRPackage::schema().equal(package, *stored))
        realm_.addOrUpdateObject(package);
}

void KSRPackageIndexImporter::deleteVanishedVersions() {
    for (const auto& key : unlistedVersionKeys_) {
        KSRPackageVersion vanished;
        vanished.key = key;
        realm_.deleteObject(vanished);
    }
}

void KSRPackageIndexImporter::updateSource() {
    auto source = realm_.objectForPrimaryKey<KSRSource>(location_);
    if (!source)
        return;
    source->packagesCount = static_cast<std::int64_t>(packages_.size());
    realm_.addOrUpdateObject(*source);
}

}  // namespace corvane
