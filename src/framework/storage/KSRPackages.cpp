#include "framework/storage/KSRPackages.h"

#include "foundation/FileManager.h"
#include "foundation/Localization.h"
#include "framework/debian/VersionCompare.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSPackageEngineHooks.h"
#include "framework/storage/KSRCategoryIcons.h"
#include "framework/storage/KSRQueueOperation.h"

namespace corvane {

using foundation::isPresentText;
using foundation::localized;

unsigned KSRPackages::queueOperationForPackage(const KSRPackage& package,
                                               const std::optional<std::string>& versionToQueue,
                                               unsigned operation) {
    if (operation != KSRQueueOperationNone)
        return operation;
    if (!package.isInstalled)
        return KSRQueueOperationInstall;
    if (isPresentText(versionToQueue))
        return greaterThan(*versionToQueue, package.installedVersion.value_or(""))
                   ? KSRQueueOperationUpgrade
                   : KSRQueueOperationDowngrade;
    return package.isUpdated && !package.isHeld ? KSRQueueOperationUpgrade
                                                : KSRQueueOperationRemove;
}

void KSRPackages::applyQueueMark(KSRPackage& package, bool inTheQueue,
                                 const std::optional<std::string>& versionToQueue,
                                 unsigned operation) {
    package.isInTheQueue = inTheQueue;
    if (!inTheQueue) {
        package.queuedVersion.reset();
        package.queueOperation = KSRQueueOperationNone;
    } else if (operation == KSRQueueOperationReinstall) {
        package.queuedVersion =
            isPresentText(versionToQueue) ? versionToQueue : package.installedVersion;
        package.queueOperation = KSRQueueOperationReinstall;
    } else {
        package.queuedVersion = isPresentText(versionToQueue) ? versionToQueue : std::nullopt;
        package.queueOperation = queueOperationForPackage(package, versionToQueue, operation);
    }
}

void KSRPackages::setPackage(const std::string& identifier, bool inTheQueue,
                             const std::optional<std::string>& versionToQueue, unsigned operation) {
    auto realm = KSDatabase::realm();
    realm.write([&] {
        auto stored = realm.objectForPrimaryKey<KSRPackage>(identifier);
        if (!stored)
            return;
        applyQueueMark(*stored, inTheQueue, versionToQueue, operation);
        realm.addOrUpdateObject(*stored);
    });
}

void KSRPackages::setPackageObject(const KSRPackage& package, bool inTheQueue,
                                   const std::optional<std::string>& versionToQueue,
                                   unsigned operation) {
    setPackage(package.identifier, inTheQueue, versionToQueue, operation);
}

namespace {

constexpr const char* kQueueMarks =
    "isInTheQueue = YES OR queueOperation != %d OR queuedVersion != nil";

}  // namespace

void KSRPackages::resetPackagesQueue() {
    auto realm = KSDatabase::realm();
    // Found before the write: a search through every record on the writing connection would
    // fill its page cache, which it keeps for the rest of the run.
    std::vector<std::string> identifiers;
    realm.objectsWhere<KSRPackage>(kQueueMarks, KSRQueueOperationNone)
        .enumerateValuesForKeyPaths({"identifier"},
                                    [&](const std::vector<foundation::Value>& values) {
                                        identifiers.push_back(*values[0].string());
                                    });
    if (identifiers.empty())
        return;
    realm.write([&] {
        auto marked = realm.objectsWhere<KSRPackage>(
            std::string("identifier IN %@ AND (") + kQueueMarks + ")", identifiers,
            KSRQueueOperationNone);
        std::vector<KSRPackage> packages;
        for (const auto& package : marked)
            packages.push_back(package);
        for (auto& package : packages) {
            applyQueueMark(package, false, std::nullopt, KSRQueueOperationNone);
            realm.addOrUpdateObject(package);
        }
    });
}

std::string KSRPackages::getButtonTitleForPackageIdentifier(
    const std::string& identifier, bool showsPrice, bool available, bool owned,
    const std::optional<std::string>& price) const {
    const auto stored = package(identifier);
    const KSRPackage& record = stored ? *stored : KSRPackage{};
    if (record.isInTheQueue)
        return localized("QUEUED");
    if (record.isUpdated && !record.isHeld)
        return localized("UPDATE");
    if (record.isInstalled)
        return localized("UNINSTALL");
    if (!available)
        return localized("UNAVAILABLE");
    if (owned)
        return localized("OWNED");
    if (showsPrice && !record.isFree())
        return isPresentText(price) ? *price : record.price.value_or("");
    return localized("GET");
}

std::shared_ptr<uikit::Image> KSRPackages::iconForIdentifier(const std::string& identifier) const {
    const auto stored = package(identifier);
    if (stored && isPresentText(stored->iconURL)) {
        const auto path = stored->iconPath();
        if (foundation::FileManager::fileExists(path))
            if (auto icon = uikit::Image::fromFile(path))
                return icon;
        std::shared_ptr<KSRPackageIconFetcher> fetcher;
        {
            std::lock_guard lock(mutex_);
            fetcher = iconFetcher_;
        }
        if (fetcher)
            fetcher->fetchIcon(identifier, *stored->iconURL, path);
    }
    return KSRCategoryIcons::imageForCategory(stored ? stored->category : std::nullopt);
}

std::shared_ptr<uikit::Image> KSRPackages::getCategoryIconForIdentifier(
    const std::string& identifier) const {
    const auto stored = package(identifier);
    return KSRCategoryIcons::imageForCategory(stored ? stored->category : std::nullopt);
}

void KSRPackages::setIconFetcher(std::shared_ptr<KSRPackageIconFetcher> fetcher) {
    std::lock_guard lock(mutex_);
    iconFetcher_ = std::move(fetcher);
}

KSRPackages::NewPackagesByDate KSRPackages::rebuildDictOfNewPackages() {
    auto rebuilt =
        packagesByDate(KSDatabase::realm().objectsWhere<KSRPackage>("updatedDateStr != nil"));
    std::lock_guard lock(mutex_);
    arrayOfInitialDateStr_ = rebuilt.dates;
    dictionaryOfNewPackagesByDateStr_ = rebuilt.packages;
    return rebuilt;
}

KSRPackages::NewPackagesByDate KSRPackages::rebuildDictOfNewPackagesVersions() {
    auto rebuilt = packagesByDate(KSDatabase::realm().objectsWhere<KSRPackage>(
        "updatedDateStr != nil AND hasNewVersion = YES"));
    std::lock_guard lock(mutex_);
    arrayOfInitialDateStr_ = rebuilt.dates;
    dictionaryOfNewPackagesVersionsByDateStr_ = rebuilt.packages;
    return rebuilt;
}

KSRPackages::NewPackagesByDate KSRPackages::packagesByDate(
    const store::Results<KSRPackage>& candidates) const {
    auto shown = candidates;
    if (!CorvanePersistentPreferences::sharedInstance().boolForKey("ShowIncompatiblePackages"))
        shown = shown.objectsWhere("tweakCompatibleStatus != 1");
    NewPackagesByDate byDate;
    auto add = [&](const std::vector<foundation::Value>& values) {
        const auto* date = values[1].string();
        if (!date || date->empty())
            return;
        auto& identifiers = byDate.packages[*date];
        if (identifiers.empty())
            byDate.dates.push_back(*date);
        identifiers.push_back(*values[0].string());
    };
    shown.sortedResultsUsingKeyPath("updatedDateStr", false)
        .enumerateValuesForKeyPaths({"identifier", "updatedDateStr"}, add);
    return byDate;
}

std::vector<std::string> KSRPackages::arrayOfInitialDateStr() const {
    std::lock_guard lock(mutex_);
    return arrayOfInitialDateStr_;
}

KSRPackages::PackagesByDate KSRPackages::dictionaryOfNewPackagesByDateStr() const {
    std::lock_guard lock(mutex_);
    return dictionaryOfNewPackagesByDateStr_;
}

KSRPackages::PackagesByDate KSRPackages::dictionaryOfNewPackagesVersionsByDateStr() const {
    std::lock_guard lock(mutex_);
    return dictionaryOfNewPackagesVersionsByDateStr_;
}

void KSRPackages::downloadPackageWithIdentifier(const std::string& identifier) {
    downloadPackagesWithIdentifiers({identifier});
}

void KSRPackages::downloadPackagesWithIdentifiers(const std::vector<std::string>& identifiers) {
    KSPackageEngineHooks::downloadPackages(identifiers);
}

store::Results<KSRPackage> KSRPackages::packagesWithIdentifiers(
    const std::vector<std::string>& identifiers) const {
    return KSDatabase::realm().objectsWhere<KSRPackage>("identifier IN[c] %@", identifiers);
}

store::Results<KSRPackage> KSRPackages::packagesOfMaintainer(
    const std::optional<std::string>& maintainer) const {
    if (!isPresentText(maintainer))
        return KSDatabase::realm().objectsWhere<KSRPackage>("identifier IN %@",
                                                            std::vector<std::string>{});
    return KSDatabase::realm().objectsWhere<KSRPackage>("maintainer = %@", *maintainer);
}

std::optional<KSRPackage> KSRPackages::package(const std::string& identifier) const {
    return KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
}

}  // namespace corvane
