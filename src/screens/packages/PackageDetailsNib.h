#pragma once

#include <memory>

#include "screens/packages/PackageDetailsViews.h"
#include "uikit/View.h"

namespace corvane {

// The nib "PackageDetailsViewController": one scroll view whose content view holds the
// sections of the page under each other, tied by constraints that the page's layout switches.
class PackageDetailsNib {
  public:
    static constexpr const char* kNibName = "PackageDetailsViewController";

    // Makes the nib known (with the cell nibs its lists use); later calls change nothing.
    static void registerNib();
    // The page's view tree; the views are set on the owner.
    static std::shared_ptr<uikit::View> build(PackageDetailsViews& views);
};

}  // namespace corvane
