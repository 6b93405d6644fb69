#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/packagemanager/KSPackageListCategory.h"
#include "uikit/AlertController.h"

namespace corvane {

// The order that every package list shares, kept in the preference SortInstalledPackagesBy: the
// property a list sorts and groups by, and the sheet in which the user changes it.
class KSPackageListSort {
  public:
    static constexpr const char* kPreferenceKey = "SortInstalledPackagesBy";

    // "category", "maintainer", "name", "sourceLocation", or "installDate", which only the
    // installed list sorts by; "name" for anything else.
    static std::string sortPropertyForPrefs(const KSPackageListCategory& category);
    // One action per order (the install date only for the installed list) and "Cancel". A
    // choice is stored before didChoose runs; "Cancel" does nothing.
    static std::shared_ptr<uikit::AlertController> sortSheet(const KSPackageListCategory& category,
                                                             std::function<void()> didChoose);
};

}  // namespace corvane
