#include "framework/storage/KSRPackageIndexImporter.h"

#include <algorithm>

#include "foundation/DateFormatter.h"
#include "foundation/Log.h"
#include "framework/apt/DebianGrammar.h"
#include "framework/categories/VersionCompare.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackageControlFields.h"
#include "framework/storage/KSRSource.h"

namespace corvane {

namespace {

bool isGreater(const std::optional<std::string>& version, const std::optional<std::string>& than) {
    return version && than && greaterThan(*version, *than);
}

}  // namespace

KSRPackageIndexImporter::Summary KSRPackageIndexImporter::importPackages(
    const std::string& sourceLocation, const foundation::Array& stanzas, double now) {
    KSRPackageIndexImporter importer(sourceLocation, now);
    const auto index = importer.validEntries(stanzas);
    importer.realm_.write([&] {
        importer.readStoredVersions();
        for (const auto& [identifier, entries] : index)
            importer.storePackage(identifier, entries);
        for (const auto& identifier : importer.storedIdentifiers_)
            if (!index.contains(identifier))
                importer.dropPackage(identifier);
        importer.deleteVanishedVersions();
        importer.updateSource(index.size());
    });
    return importer.summary_;
}

KSRPackageIndexImporter::KSRPackageIndexImporter(std::string sourceLocation, double now)
    : realm_(KSDatabase::realm()),
      location_(std::move(sourceLocation)),
      now_(now),
      nowText_(foundation::DateFormatter::withFormat("yyyy-MM-dd HH:mm").stringFromDate(now)) {}

KSRPackageIndexImporter::Index KSRPackageIndexImporter::validEntries(
    const foundation::Array& stanzas) {
    Index index;
    for (const auto& element : stanzas) {
        const auto& stanza = element.dictionary();
        const auto name = element["Package"].stringValue();
        const auto version = element["Version"].stringValue();
        if (!isValidPackageName(name)) {
            KSLog("Refusing the package \"%@\" of %@: not a valid package name", name, location_);
            ++summary_.refused;
        } else if (!isValidDebianVersion(version)) {
            KSLog("Refusing version \"%@\" of %@ from %@: not a valid version", version, name,
                  location_);
            ++summary_.refused;
        } else {
            index[name].push_back({stanza, version});
        }
    }
    return index;
}

void KSRPackageIndexImporter::readStoredVersions() {
    for (const auto& version :
         realm_.objectsWhere<KSRPackageVersion>("sourceLocation = %@", location_)) {
        storedVersionKeys_.insert(version.key);
        storedIdentifiers_.insert(version.identifier);
    }
}

void KSRPackageIndexImporter::storePackage(const std::string& identifier,
                                           const std::vector<IndexEntry>& entries) {
    const auto stored = realm_.objectForPrimaryKey<KSRPackage>(identifier);
    KSRPackage package = stored.value_or(KSRPackage{});
    package.identifier = identifier;
    const auto previousVersion = package.version;
    const auto previousSource = package.sourceLocation;
    const auto& newest = *std::max_element(entries.begin(), entries.end(),
                                           [](const IndexEntry& a, const IndexEntry& b) {
                                               return compareVersions(a.version, b.version) < 0;
                                           });
    if (!stored || !previousSource || *previousSource == location_ ||
        isGreater(newest.version, previousVersion)) {
        KSRPackageControlFields::apply(newest.stanza, package);
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
    realm_.addOrUpdateObject(package);
    ++summary_.stored;
}

void KSRPackageIndexImporter::replaceOwnVersions(KSRPackage& package,
                                                 const std::vector<IndexEntry>& entries) {
    auto& versions = package.availableVersions;
    std::erase_if(versions, [&](const KSRPackageVersion& version) {
        return version.sourceLocation == location_;
    });
    for (const auto& entry : entries) {
        auto key = KSRPackageVersion::makeKey(package.identifier, entry.version, location_);
        if (!importedVersionKeys_.insert(key).second)
            continue;
        auto filename = entry.stanza.find("Filename");
        versions.push_back(
            {key, package.identifier, entry.version, location_,
             filename == entry.stanza.end() ? std::nullopt : filename->second.optionalString()});
    }
    std::stable_sort(versions.begin(), versions.end(),
                     [](const KSRPackageVersion& a, const KSRPackageVersion& b) {
                         return compareVersions(a.version, b.version) > 0;
                     });
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

void KSRPackageIndexImporter::dropPackage(const std::string& identifier) {
    auto package = realm_.objectForPrimaryKey<KSRPackage>(identifier);
    if (!package)
        return;
    std::erase_if(package->availableVersions, [&](const KSRPackageVersion& version) {
        return version.sourceLocation == location_;
    });
    if (package->sourceLocation == location_) {
        if (!package->availableVersions.empty()) {
            package->version.reset();
            takeGreatestVersion(*package);
        } else if (package->isInstalled) {
            // Only dpkg knows it now: no repository offers another version.
            package->sourceLocation.reset();
            package->version = package->installedVersion;
            package->filename.reset();
        } else {
            realm_.deleteObject(*package);
            ++summary_.removed;
            return;
        }
    }
    if (package->isInstalled)
        package->isUpdated = isGreater(package->version, package->installedVersion);
    realm_.addOrUpdateObject(*package);
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

void KSRPackageIndexImporter::updateSource(std::size_t packagesCount) {
    auto source = realm_.objectForPrimaryKey<KSRSource>(location_);
    if (!source)
        return;
    source->packagesCount = static_cast<std::int64_t>(packagesCount);
    realm_.addOrUpdateObject(*source);
}

}  // namespace corvane
