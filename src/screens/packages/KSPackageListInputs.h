#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/packagemanager/KSPackageListCategory.h"
#include "framework/storage/KSRDeveloper.h"

namespace corvane {

// What the screen that opens a package list asks it to show: the list, and what that list needs.
struct KSPackageListInputs {
    KSPackageListCategory category;
    // Of a category list; in source lists the source's category, or "All Packages".
    std::optional<std::string> subcategory;
    std::optional<std::string> search;
    // Of source lists and of the purchased list (all sources when unset).
    std::optional<std::string> sourceLocation;
    std::optional<KSRDeveloper> followedDeveloper;
    std::vector<std::string> newsSourcePackagesToShow;
    std::vector<std::string> downloadsHistory;

    // The two lists of new packages by date, which take their rows from the stored collection
    // rather than from a query of their own.
    bool isNewPackagesList() const {
        return category.is(KSPackageListCategory::Special::newPackages) ||
               category.is(KSPackageListCategory::Special::newPackagesVersions);
    }
};

}  // namespace corvane
