#include "framework/storage/KSRPackageIndexPreparer.h"

#include <algorithm>
#include <utility>

#include "foundation/DateFormatter.h"
#include "foundation/Log.h"
#include "framework/categories/VersionCompare.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackageControlFields.h"

namespace corvane {

namespace {

bool isGreater(std::string_view version, const std::optional<std::string>& than) {
    return than && greaterThan(version, *than);
}

bool isGreater(const std::optional<std::string>& version, const std::optional<std::string>& than) {
    return version && than && greaterThan(*version, *than);
}

}  // namespace

KSRPackageIndexPreparer::KSRPackageIndexPreparer(std::string sourceLocation, double now,
                                                 const Pieces& pieces)
    : realm_(KSDatabase::realm()),
      location_(std::move(sourceLocation)),
      now_(now),
      nowText_(foundation::DateFormatter::withFormat("yyyy-MM-dd HH:mm").stringFromDate(now)),
      pieces_(pieces) {}

KSRPackageIndexBatch KSRPackageIndexPreparer::nextBatch() {
    if (!std::exchange(started_, true))
        readStoredVersions();
    KSRPackageIndexBatch batch;
    batch.last = !readBatch(batch);
    if (batch.unreadable)
        return batch;
    readStoredPackages(unseenIdentifiers());
    batch.changed.reserve(batchPackages_.size());
    for (auto* stanzas : batchPackages_)
        prepare(*stanzas, batch);
    batchPackages_.clear();
    batchFields_.clear();
    ++batch_;
    if (batch.last) {
        summary_.stored = packages_.size();
        dropVanishedPackages(batch);
        batch.vanishedVersionKeys.assign(unlistedVersionKeys_.begin(), unlistedVersionKeys_.end());
        batch.summary = std::move(summary_);
    }
    return batch;
}

bool KSRPackageIndexPreparer::readBatch(KSRPackageIndexBatch& batch) {
    while (batchPackages_.size() < kBatchSize) {
        if (const auto stanza = reader_ ? reader_->next() : std::nullopt) {
            addStanza(*stanza);
            continue;
        }
        auto piece = pieces_();
        if (!piece)
            batch.unreadable = piece.error();
        if (!piece || !*piece)
            return false;
        reader_.emplace(**piece);
    }
    return true;
}

void KSRPackageIndexPreparer::addStanza(const ControlStanza& stanza) {
    const auto* package = stanza.field("Package");
    const auto identifier = valueOf(package);
    const auto version = valueOf(stanza.field("Version"));
    if (!isValid(stanza, package ? std::optional(identifier) : std::nullopt, version))
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

std::string_view KSRPackageIndexPreparer::valueOf(const ControlStanza::Field* field) {
    if (!field)
        return {};
    if (!field->continues())
        return field->text;
    return ownedValues_.emplace_back(field->value());
}

bool KSRPackageIndexPreparer::isValid(const ControlStanza& stanza,
                                      std::optional<std::string_view> identifier,
                                      std::string_view version) {
    if (!identifier) {
        KSLog("Refusing a stanza of %@ without a Package field", location_);
    } else if (!isValidPackageName(*identifier)) {
        KSLog("Refusing the package \"%@\" of %@: not a valid package name", *identifier,
              location_);
    } else if (!isValidDebianVersion(version)) {
        KSLog("Refusing version \"%@\" of %@ from %@: not a valid version", version, *identifier,
              location_);
    } else {
        return true;
    }
    ++summary_.refused;
    summary_.refusedStanzas.push_back(stanza.text());
    return false;
}

void KSRPackageIndexPreparer::readStoredVersions() {
    for (const auto& version :
         realm_.objectsWhere<KSRPackageVersion>("sourceLocation = %@", location_)) {
        unlistedVersionKeys_.insert(version.key);
        storedIdentifiers_.insert(version.identifier);
    }
    firstImport_ = unlistedVersionKeys_.empty();
    readStoredPackages({storedIdentifiers_.begin(), storedIdentifiers_.end()});
}

void KSRPackageIndexPreparer::readStoredPackages(const std::vector<std::string>& identifiers) {
    if (identifiers.empty())
        return;
    for (const auto& package : realm_.objectsWhere<KSRPackage>("identifier IN %@", identifiers))
        storedPackages_.emplace(package.identifier, package);
}

// Packages met for the first time that another source may have stored.
std::vector<std::string> KSRPackageIndexPreparer::unseenIdentifiers() {
    std::vector<std::string> unseen;
    for (auto* stanzas : batchPackages_) {
        if (!std::exchange(stanzas->lookedUp, true) &&
            !storedIdentifiers_.contains(stanzas->identifier()))
            unseen.emplace_back(stanzas->identifier());
    }
    return unseen;
}

void KSRPackageIndexPreparer::prepare(PackageStanzas& stanzas, KSRPackageIndexBatch& batch) {
    const auto* stored = storedPackage(stanzas.identifier());
    auto package = buildPackage(stanzas.entries, stored);
    for (const auto& version : package.availableVersions)
        if (version.sourceLocation == location_)
            unlistedVersionKeys_.erase(version.key);
    keepIfChanged(std::move(package), std::exchange(stanzas.handedOver, true) ? nullptr : stored,
                  batch);
}

KSRPackage KSRPackageIndexPreparer::buildPackage(const std::vector<IndexEntry>& entries,
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
void KSRPackageIndexPreparer::applyControlFields(const IndexEntry& entry,
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

void KSRPackageIndexPreparer::replaceOwnVersions(KSRPackage& package,
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

const KSRPackage* KSRPackageIndexPreparer::storedPackage(std::string_view identifier) const {
    const auto found = storedPackages_.find(identifier);
    return found == storedPackages_.end() ? nullptr : &found->second;
}

void KSRPackageIndexPreparer::takeGreatestVersion(KSRPackage& package) const {
    if (package.availableVersions.empty())
        return;
    const auto& greatest = package.availableVersions.front();
    if (package.version && !greaterThan(greatest.version, *package.version))
        return;
    package.version = greatest.version;
    package.sourceLocation = greatest.sourceLocation;
    package.filename = greatest.filename;
}

void KSRPackageIndexPreparer::dropVanishedPackages(KSRPackageIndexBatch& batch) {
    for (const auto& identifier : storedIdentifiers_) {
        if (packages_.contains(identifier))
            continue;
        if (const auto* stored = storedPackage(identifier))
            dropPackage(*stored, batch);
    }
}

void KSRPackageIndexPreparer::dropPackage(const KSRPackage& stored, KSRPackageIndexBatch& batch) {
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
            batch.deleted.push_back(std::move(package));
            ++summary_.removed;
            return;
        }
    }
    if (package.isInstalled)
        package.isUpdated = isGreater(package.version, package.installedVersion);
    keepIfChanged(std::move(package), &stored, batch);
}

// A refresh of an unchanged index rewrites nothing: most records come out as they were stored.
void KSRPackageIndexPreparer::keepIfChanged(KSRPackage package, const KSRPackage* stored,
                                            KSRPackageIndexBatch& batch) {
    if (!stored || !KSRPackage::schema().equal(package, *stored))
        batch.changed.push_back(std::move(package));
}

}  // namespace corvane
