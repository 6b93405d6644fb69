#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/storage/KSRPackageVersion.h"
#include "framework/storage/KSRQueueOperation.h"
#include "store/Schema.h"

namespace corvane {

// A stored package: the control fields of its best version, where it comes from, and what the
// user and dpkg did with it. Text fields are unset when the index or status file has no value.
struct KSRPackage {
    std::string identifier;
    std::optional<std::string> name;
    // The repository version; installedVersion is what dpkg has.
    std::optional<std::string> version;
    std::optional<std::string> installedVersion;
    std::optional<std::string> queuedVersion;
    bool isInstalled = false;
    bool isInTheQueue = false;
    unsigned queueOperation = KSRQueueOperationNone;
    // The repository has a greater version than the installed one.
    bool isUpdated = false;
    bool isHeld = false;
    bool hasNewVersion = false;
    std::optional<std::string> price;
    std::optional<std::string> maintainer;
    std::optional<std::string> maintainerEmail;
    std::optional<std::string> author;
    std::optional<std::string> authorEmail;
    std::optional<std::string> contact;
    std::optional<std::string> Description;
    // "Section" of the index; "Section: Addons (Widgets)" gives the subcategory "Widgets".
    std::optional<std::string> category;
    std::optional<std::string> subcategory;
    // "Depiction"
    std::optional<std::string> website;
    std::optional<std::string> sileoDepiction;
    // "Icon"
    std::optional<std::string> iconURL;
    // Primary key of the KSRSource; unset for a package only dpkg knows.
    std::optional<std::string> sourceLocation;
    std::optional<std::string> size;
    std::optional<std::string> installedSize;
    std::optional<std::string> filename;
    std::optional<std::string> md5sum;
    std::optional<std::string> sha256;
    std::optional<std::string> architecture;
    // "Depends" as written, and its entries one by one.
    std::optional<std::string> depends;
    std::vector<std::string> dependencies;
    std::vector<std::string> conflicts;
    // From a "firmware" dependency: "firmware (>= 12.0)" gives the minimum, "(<< 15.0)" the
    // maximum.
    std::optional<std::string> minosversion;
    std::optional<std::string> maxosversion;
    std::optional<std::string> postinstallaction;
    std::optional<std::string> tag;
    std::vector<std::string> installedFiles;
    // 0 working, 1 not working, 2 not determined.
    int tweakCompatibleStatus = 2;
    bool isPaidThroughSileo = false;
    bool isPaidThroughCydia = false;
    bool isInWishlist = false;
    // The user's own stars, 1 to 5; 0 when not rated.
    int myRating = 0;
    std::vector<std::string> screenshots;
    std::vector<std::string> screenshotsLocalPaths;
    std::optional<double> installDate;
    // When the package was first seen.
    std::optional<double> initialDate;
    // "yyyy-MM-dd HH:mm" of the moment it appeared or got a greater version.
    std::optional<std::string> updatedDateStr;
    std::vector<KSRPackageVersion> availableVersions;

    // Nil, empty, "0", "0.00" or "free" in any case.
    bool isFree() const;
    // "<data directory>/IconCache/<md5 of iconURL>.png"; the file may not exist.
    std::string iconPath() const;

    static const store::Schema<KSRPackage>& schema();
};

}  // namespace corvane
