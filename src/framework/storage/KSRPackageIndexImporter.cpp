#include "framework/storage/KSRPackageIndexImporter.h"

#include <algorithm>
#include <future>

#include "foundation/DateFormatter.h"
#include "foundation/Log.h"
#include "framework/apt/DebianGrammar.h"
#include "framework/apt/StanzaReader.h"
#include "framework/categories/VersionCompare.h"
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
    KSRPackageIndexImporter importer(sourceLocation, now);
    importer.readIndex(indexText);
    importer.realm_.write([&] {
        importer.readStoredPackages();
        importer.storePackages();
        importer.dropVanishedPackages();
        importer.deleteVanishedVersions();
        importer.updateSource();
    });
    return importer.summary_;
}

KSRPackageIndexImporter::KSRPackageIndexImporter(std::string sourceLocation, double now)
    : realm_(KSDatabase::realm()),
      location_(std::move(sourceLocation)),
      now_(now),
      nowText_(foundation::DateFormatter::withFormat("yyyy-MM-dd HH:mm").stringFromDate(now)) {}

void KSRPackageIndexImporter::readIndex(std::string_view indexText) {
    StanzaReader reader(indexText);
    while (const auto stanza = reader.next()) {
        const auto* package = stanza->field("Package");
        if (!package)
            continue;
        const auto identifier = valueOf(package);
        const auto version = valueOf(stanza->field("Version"));
        if (!isValid(identifier, version))
            continue;
        const auto* filename = stanza->field("Filename");
        entries_.push_back({identifier, version,
                            filename ? std::optional(valueOf(filename)) : std::nullopt,
                            stanza->text()});
    }
    std::ranges::stable_sort(entries_, {}, &IndexEntry::identifier);
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

void KSRPackageIndexImporter::readStoredPackages() {
    for (const auto& version :
         realm_.objectsWhere<KSRPackageVersion>("sourceLocation = %@", location_)) {
        storedVersionKeys_.insert(version.key);
        storedIdentifiers_.insert(version.identifier);
    }
    std::vector<std::string> concerned(storedIdentifiers_.begin(), storedIdentifiers_.end());
    for (const auto& entry : entries_)
        concerned.emplace_back(entry.identifier);
    for (const auto& package : realm_.objectsWhere<KSRPackage>("identifier IN %@", concerned))
        storedPackages_.emplace(package.identifier, package);
}

std::vector<KSRPackageIndexImporter::Entries> KSRPackageIndexImporter::packageGroups() const {
    std::vector<Entries> groups;
    for (auto first = entries_.begin(); first != entries_.end();) {
        const auto last = std::find_if(first, entries_.end(), [&](const IndexEntry& entry) {
            return entry.identifier != first->identifier;
        });
        groups.emplace_back(first, last);
        first = last;
    }
    return groups;
}

// SQLite writes one record at a time, so the records are built on a helper thread a batch ahead
// of the writes.
void KSRPackageIndexImporter::storePackages() {
    const auto groups = packageGroups();
    packagesCount_ = groups.size();
    std::future<std::vector<KSRPackage>> next;
    for (std::size_t first = 0; first < groups.size(); first += kBatchSize) {
        const auto batch = next.valid() ? next.get() : buildPackages(groups, first);
        if (const auto following = first + kBatchSize; following < groups.size())
            next = std::async(std::launch::async, [this, &groups, following] {
                return buildPackages(groups, following);
            });
        for (const auto& package : batch)
            storePackage(package);
    }
}

std::vector<KSRPackage> KSRPackageIndexImporter::buildPackages(const std::vector<Entries>& groups,
                                                               std::size_t first) const {
    std::vector<KSRPackage> packages;
    const auto last = std::min(first + kBatchSize, groups.size());
    packages.reserve(last - first);
    for (auto group = first; group < last; ++group)
        packages.push_back(buildPackage(groups[group]));
    return packages;
}

KSRPackage KSRPackageIndexImporter::buildPackage(Entries entries) const {
    const auto* stored = storedPackage(entries.front().identifier);
    KSRPackage package = stored ? *stored : KSRPackage{};
    package.identifier = entries.front().identifier;
    const auto previousVersion = package.version;
    const auto previousSource = package.sourceLocation;
    const auto& newest = *std::ranges::max_element(entries, [](const auto& a, const auto& b) {
        return compareVersions(a.version, b.version) < 0;
    });
    if (!stored || !previousSource || *previousSource == location_ ||
        isGreater(newest.version, previousVersion)) {
        // Read again from its text: the stanza is small, and keeping every stanza's fields
        // from the first reading would cost more memory than this costs time.
        StanzaReader reader(newest.stanza);
        KSRPackageControlFields::apply(*reader.next(), package);
        package.sourceLocation = location_;
    }
    replaceOwnVersions(package, entries);
    takeGreatestVersion(package);
    if (!stored) {
        package.initialDate = now_;
        if (!storedVersionKeys_.empty())
            package.updatedDateStr = nowText_;
    } else if (previousSource && isGreater(package.version, previousVersion)) {
        package.hasNewVersion = true;
        package.updatedDateStr = nowText_;
    }
    if (package.isInstalled)
        package.isUpdated = isGreater(package.version, package.installedVersion);
    return package;
}

void KSRPackageIndexImporter::replaceOwnVersions(KSRPackage& package, Entries entries) const {
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

void KSRPackageIndexImporter::storePackage(const KSRPackage& package) {
    for (const auto& version : package.availableVersions)
        if (version.sourceLocation == location_)
            importedVersionKeys_.insert(version.key);
    writeIfChanged(package, storedPackage(package.identifier));
    ++summary_.stored;
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
        if (std::ranges::binary_search(entries_, std::string_view(identifier), {},
                                       &IndexEntry::identifier))
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
    for (const auto& key : storedVersionKeys_) {
        if (importedVersionKeys_.contains(key))
            continue;
        KSRPackageVersion vanished;
        vanished.key = key;
        realm_.deleteObject(vanished);
    }
}

void KSRPackageIndexImporter::updateSource() {
    auto source = realm_.objectForPrimaryKey<KSRSource>(location_);
    if (!source)
        return;
    source->packagesCount = static_cast<std::int64_t>(packagesCount_);
    realm_.addOrUpdateObject(*source);
}

}  // namespace corvane
