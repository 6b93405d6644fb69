#include "screens/packages/PackageBannerVideoSection.h"

#include "screens/packages/PackageBanner.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/extensions/ScrollViewInteractiveHeader.h"

namespace corvane {

void PackageBannerVideoSection::build(PackageSectionBuilder& b, const uikit::View& topSeparator,
                                      const uikit::View& changelogSeparator) {
    b.title(videoPreviewTitle, "Video Preview");
    b.wide(*videoPreviewTitle);
    videoPreviewTitleTopConstraint =
        b.on(b.below(*videoPreviewTitle, changelogSeparator.bottomAnchor(), 20));
    videoPreviewTitleTopConstraintToTopSeparator =
        b.off(b.below(*videoPreviewTitle, topSeparator.bottomAnchor(), 20));
    videoPreviewTitleHeightConstraint =
        b.on(videoPreviewTitle->heightAnchor().constraintEqualToConstant(
            PackageSectionBuilder::kTitleHeight));
    b.add(videoPreviewPlayer);
    b.wide(*videoPreviewPlayer);
    videoPreviewPlayerTopConstraint =
        b.on(b.below(*videoPreviewPlayer, videoPreviewTitle->bottomAnchor(), 10));
    videoPreviewPlayerHeightConstraint =
        b.on(videoPreviewPlayer->heightAnchor().constraintEqualToConstant(200));
    b.separator(videoPreviewSeparator);
    videoPreviewSeparatorTopConstraint =
        b.on(b.below(*videoPreviewSeparator, videoPreviewPlayer->bottomAnchor(), 20));
    b.folds(*videoPreviewTitle, changelogSeparator.bottomAnchor());
    b.folds(*videoPreviewPlayer, changelogSeparator.bottomAnchor());
    b.fallback(
        videoPreviewSeparator->topAnchor().constraintEqualTo(changelogSeparator.bottomAnchor()));
}

void PackageBannerVideoSection::layout(const PackagePageModel& model) {
    const bool present = model.isInfoJson() && foundation::isPresentText(PackageSnapshot::field(
                                                   model.packageDictionary(), "youtube"));
    for (uikit::View* view :
         {static_cast<uikit::View*>(videoPreviewTitle.get()),
          static_cast<uikit::View*>(videoPreviewPlayer.get()), videoPreviewSeparator.get()})
        view->setHidden(!present);
    if (!present) {
        for (const auto& constraint :
             {videoPreviewTitleHeightConstraint, videoPreviewTitleTopConstraint,
              videoPreviewTitleTopConstraintToTopSeparator, videoPreviewPlayerTopConstraint,
              videoPreviewPlayerHeightConstraint, videoPreviewSeparatorTopConstraint})
            constraint->setActive(false);
        return;
    }
    for (const auto& constraint :
         {videoPreviewTitleHeightConstraint, videoPreviewPlayerTopConstraint,
          videoPreviewPlayerHeightConstraint, videoPreviewSeparatorTopConstraint})
        constraint->setActive(true);
    videoPreviewPlayer->layer().setCornerRadius(10);
    videoPreviewPlayer->setClipsToBounds(true);
    // Without a changelog the video comes up under the header.
    const bool underHeader = !model.hasChangelog();
    videoPreviewTitleTopConstraint->setActive(!underHeader);
    if (underHeader)
        videoPreviewTitleTopConstraintToTopSeparator->setConstant(20);
    videoPreviewTitleTopConstraintToTopSeparator->setActive(underHeader);
}

void PackageBannerVideoSection::paletteDidChange(const KSPalette& palette) {
    videoPreviewTitle->setTextColor(palette.primaryTextColor());
}

void PackageBannerVideoSection::showVideo(const PackagePageModel& model) {
    const std::string address = model.text("youtube");
    const std::string marker = "watch?v=";
    const auto at = address.find(marker);
    if (model.isInfoJson() && at != std::string::npos)
        videoPreviewPlayer->loadWithVideoId(address.substr(at + marker.size()));
}

void PackageBannerVideoSection::showBanner(const std::shared_ptr<uikit::ScrollView>& scrollView,
                                           std::shared_ptr<uikit::Image> banner) {
    if (!banner) {
        ScrollViewInteractiveHeader::removeHeaderView(*scrollView);
        return;
    }
    ScrollViewInteractiveHeader::addHeaderWithImage(scrollView, std::move(banner),
                                                    PackageBanner::kHeight);
    scrollView->setContentOffset({0, PackageBanner::kRestOffset});
}

}  // namespace corvane
