#pragma once

#include <memory>

#include "screens/packages/PackageSectionBuilder.h"
#include "screens/video/YTPlayerView.h"
#include "ui/palette/KSPalette.h"
#include "uikit/Image.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/ScrollView.h"

namespace corvane {

class PackagePageModel;

// The package's pictures in motion and at rest above the page: the banner that stretches over
// the scroll view, and the video preview that an info-JSON source links. Main thread.
class PackageBannerVideoSection {
  public:
    void build(PackageSectionBuilder& b, const uikit::View& topSeparator,
               const uikit::View& changelogSeparator);
    void layout(const PackagePageModel& model);
    void paletteDidChange(const KSPalette& palette);
    // Loads the video an info-JSON source links.
    void showVideo(const PackagePageModel& model);
    // The banner over the content, the content pulled down to it; null removes the header.
    void showBanner(const std::shared_ptr<uikit::ScrollView>& scrollView,
                    std::shared_ptr<uikit::Image> banner);

    std::shared_ptr<uikit::Label> videoPreviewTitle;
    std::shared_ptr<YTPlayerView> videoPreviewPlayer;
    std::shared_ptr<uikit::View> videoPreviewSeparator;

    std::shared_ptr<uikit::LayoutConstraint> videoPreviewTitleTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> videoPreviewTitleTopConstraintToTopSeparator;
    std::shared_ptr<uikit::LayoutConstraint> videoPreviewTitleHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> videoPreviewPlayerTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> videoPreviewPlayerHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> videoPreviewSeparatorTopConstraint;
};

}  // namespace corvane
