#include "framework/packagemanager/KSPackageListCategory.h"

namespace corvane {

KSPackageListCategory KSPackageListCategory::named(std::string name) {
    KSPackageListCategory category;
    if (!name.empty())
        category.value_ = std::move(name);
    return category;
}

std::optional<KSPackageListCategory::Special> KSPackageListCategory::special() const {
    if (const auto* special = std::get_if<Special>(&value_))
        return *special;
    return std::nullopt;
}

std::optional<std::string> KSPackageListCategory::name() const {
    if (const auto* name = std::get_if<std::string>(&value_))
        return *name;
    return std::nullopt;
}

std::string KSPackageListCategory::textOf(Special special) {
    switch (special) {
        case Special::allPackages:
            return "__ALL_PACKAGES__";
        case Special::installedPackages:
            return "__INSTALLED_PACKAGES__";
        case Special::updatedPackages:
            return "Updated Packages";
        case Special::newPackages:
            return "__NEW_PACKAGES__";
        case Special::sourcePackages:
            return "__SOURCE_PACKAGES__";
        case Special::newPackagesVersions:
            return "New Versions";
        case Special::search:
            return "Search";
        case Special::sileoPackages:
            return "Purchased Packages";
        case Special::newPackagesFromFollowedDeveloper:
            return "New Packages from Followed Developers";
        case Special::newPackagesFromFollowedSource:
            return "New Packages from Followed Source";
        case Special::downloadsHistory:
            return "Downloads History";
    }
    return {};
}

}  // namespace corvane
