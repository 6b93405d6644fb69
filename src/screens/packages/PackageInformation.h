#pragma once

#include <string>

#include "foundation/Value.h"

namespace corvane {

class PackageDetailsViewController;

// The texts and images of the package page that come from the stored package and its source,
// each with its fallback when the copy has nothing.
class PackageInformation {
  public:
    static constexpr const char* kDPKGLocation = "DPKG";

    // Fills every label of the page from its copies; the Get button is re-titled too.
    static void apply(PackageDetailsViewController& page);

    // The author as the page names it: the maintainer, else the package's contact, else the
    // source's contact, else "No dev name found".
    static std::string developerName(const foundation::Value::Dictionary& package,
                                     const foundation::Value::Dictionary& source);
    // The entries on lines of their own, in order.
    static std::string joinedEntries(const foundation::Value& entries);
    // "iOS 12.0 - 15.0", "iOS 12.0" or "Nothing specified", with the row's caption when it
    // changes.
    static std::string versionRange(const foundation::Value::Dictionary& package,
                                    std::string* caption);
    // A short date; "None" without one or for the first day of 1970.
    static std::string dateText(const foundation::Value& date);
};

}  // namespace corvane
