#pragma once

#include <memory>

#include "screens/packages/PackageDetailsOutlets.h"
#include "uikit/View.h"

namespace corvane {

// The nib "PackageDetailsViewController": one scroll view whose content view holds the
// sections of the page under each other, tied by constraints that the page's layout switches.
// Views of a section that goes away keep low-priority fallbacks that fold them, at no height,
// under what stands above the section.
class PackageDetailsNib {
  public:
    static constexpr const char* kNibName = "PackageDetailsViewController";
    static constexpr double kMargin = 16;
    static constexpr double kCaptionWidth = 140;
    static constexpr double kGetButtonHeight = 30;
    static constexpr double kScreenshotsHeight = 441;
    static constexpr double kTitleHeight = 25;

    // Makes the nib known (with the cell nibs its lists use); later calls change nothing.
    static void registerNib();
    // The page's view tree; the outlets are set on the owner.
    static std::shared_ptr<uikit::View> build(PackageDetailsOutlets& outlets);
};

}  // namespace corvane
