#include "screens/packages/KSPackageListQuery.h"

#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"

namespace corvane {

namespace {

using Special = KSPackageListCategory::Special;

// Packages whose names start with "cy+" are the old package manager's own entries.
constexpr const char* kWithoutOwnEntries = "NOT name BEGINSWITH[cd] 'cy+'";

store::Realm realm() {
    return KSDatabase::realm();
}

store::Results<KSRPackage> identifiers(const std::vector<std::string>& list) {
    return KSRPackageManager::sharedPackageManager().packages().packagesWithIdentifiers(list);
}

}  // namespace

store::Results<KSRPackage> KSPackageListQuery::queuedPackages() {
    return realm().objectsWhere<KSRPackage>("isInTheQueue = %@", true);
}

std::optional<store::Results<KSRPackage>> KSPackageListQuery::packagesForList(
    const KSPackageListInputs& inputs, const std::string& sortKey) {
    auto packages = query(inputs);
    if (!packages)
        return std::nullopt;
    return packages->sortedResultsUsingKeyPath(sortKey, true);
}

std::optional<store::Results<KSRPackage>> KSPackageListQuery::query(
    const KSPackageListInputs& inputs) {
    // An unset location names no source rather than every package without one.
    const auto location = inputs.sourceLocation.value_or("");
    if (inputs.category.is(Special::sourcePackages)) {
        if (inputs.subcategory == kAllPackagesSubcategory)
            return compatible(realm().objectsWhere<KSRPackage>("sourceLocation = %@", location));
        return compatible(realm().objectsWhere<KSRPackage>("sourceLocation = %@ AND category = %@",
                                                           location, inputs.subcategory));
    }
    if (inputs.subcategory) {
        // A special list with a subcategory is run as a category list of its name.
        auto name = inputs.category.special()
                        ? KSPackageListCategory::textOf(*inputs.category.special())
                        : inputs.category.name();
        return compatible(realm().objectsWhere<KSRPackage>("category = %@ AND subcategory = %@",
                                                           name, inputs.subcategory));
    }
    return specialQuery(inputs);
}

std::optional<store::Results<KSRPackage>> KSPackageListQuery::specialQuery(
    const KSPackageListInputs& inputs) {
    const auto special = inputs.category.special();
    if (!special)
        return std::nullopt;
    switch (*special) {
        case Special::allPackages:
            return compatible(realm().allObjects<KSRPackage>());
        case Special::installedPackages:
            return realm().objectsWhere<KSRPackage>(std::string("isInstalled = 1 AND ") +
                                                    kWithoutOwnEntries);
        case Special::updatedPackages:
            return realm().objectsWhere<KSRPackage>("isUpdated = 1 AND isHeld = 0");
        case Special::search:
            return search(inputs.search.value_or(""));
        case Special::sileoPackages:
            if (inputs.sourceLocation)
                return realm().objectsWhere<KSRPackage>(
                    "isPaidThroughSileo = 1 AND sourceLocation = %@", *inputs.sourceLocation);
            return realm().objectsWhere<KSRPackage>("isPaidThroughSileo = 1");
        case Special::newPackagesFromFollowedDeveloper:
            return identifiers(inputs.followedDeveloper
                                   ? inputs.followedDeveloper->developerNewPackagesIdentifiers
                                   : std::vector<std::string>{});
        case Special::newPackagesFromFollowedSource:
            return identifiers(inputs.newsSourcePackagesToShow);
        case Special::downloadsHistory:
            return identifiers(inputs.downloadsHistory);
        case Special::newPackages:
        case Special::newPackagesVersions:
        case Special::sourcePackages:
            break;
    }
    return std::nullopt;
}

// A name match hides the maintainer matches; only when no name matches do the packages of
// maintainers that match show.
store::Results<KSRPackage> KSPackageListQuery::search(const std::string& text) {
    auto byName = compatible(realm().objectsWhere<KSRPackage>(
        std::string("name CONTAINS[cd] %@ AND ") + kWithoutOwnEntries, text));
    if (!byName.isEmpty())
        return byName;
    return compatible(realm().objectsWhere<KSRPackage>(
        std::string("maintainer CONTAINS[cd] %@ AND ") + kWithoutOwnEntries, text));
}

store::Results<KSRPackage> KSPackageListQuery::compatible(
    const store::Results<KSRPackage>& packages) {
    if (CorvanePersistentPreferences::sharedInstance().boolForKey("ShowIncompatiblePackages"))
        return packages;
    return packages.objectsWhere("tweakCompatibleStatus != 1");
}

}  // namespace corvane
