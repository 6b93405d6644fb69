#pragma once

#include <functional>
#include <memory>
#include <string>

#include "screens/packages/PackageBannerVideoSection.h"
#include "screens/packages/PackageChangelogSection.h"
#include "screens/packages/PackageDescriptionSection.h"
#include "screens/packages/PackageHeaderSection.h"
#include "screens/packages/PackageInformationSection.h"
#include "screens/packages/PackageMoreByDeveloperSection.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageRepositorySection.h"
#include "screens/packages/PackageReviewsSection.h"
#include "screens/packages/PackageScreenshotsSection.h"
#include "uikit/ScrollView.h"

namespace corvane {

class PackageActions;

// The views of the package page, set by its nib: the scroll view and its long column, and the
// sections in it from top to bottom, each with its own views and constraints. It fills, lays out
// and colours the sections in their order. Main thread.
class PackageDetailsViews {
  public:
    // The strips and the list read the model and the screen's palette; what they open goes
    // through the actions.
    void connect(const std::shared_ptr<PackagePageModel>& model,
                 const std::shared_ptr<KSPalettedViewController>& screen,
                 const std::shared_ptr<PackageActions>& actions);
    // The header's icon, name and badge, first: the Get title follows them.
    void showStoredIdentity(const PackagePageModel& model);
    // Every other label from the model's copies.
    void showStoredDetails(const PackagePageModel& model, bool darkMode);
    // The section that shows what changed in the model, when one does.
    void showChange(PackagePageModel::Change change, const PackagePageModel& model, bool darkMode);
    // Decides every section anew from the model.
    void layout(const PackagePageModel& model);
    // Places the sections now, whatever changed.
    void placeSections();
    void paletteDidChange(const KSPalette& palette, bool darkMode);
    // The strips and the list size their items from the page's width.
    void reloadStrips();

    PackageHeaderSection& header() { return *header_; }
    PackageChangelogSection& changelog() { return *changelog_; }
    PackageBannerVideoSection& bannerVideo() { return *bannerVideo_; }
    PackageScreenshotsSection& screenshots() { return *screenshots_; }
    PackageDescriptionSection& description() { return *description_; }
    PackageReviewsSection& reviews() { return *reviews_; }
    PackageInformationSection& information() { return *information_; }
    PackageRepositorySection& repository() { return *repository_; }
    PackageMoreByDeveloperSection& moreByDeveloper() { return *moreByDeveloper_; }

    std::shared_ptr<uikit::ScrollView> scrollView;
    std::shared_ptr<uikit::View> contentView;
    std::shared_ptr<uikit::View> backgroundView;
    std::shared_ptr<uikit::View> secondBackgroundView;

  protected:
    // The strips and the list are their own data sources, so these are shared.
    std::shared_ptr<PackageHeaderSection> header_ = std::make_shared<PackageHeaderSection>();
    std::shared_ptr<PackageChangelogSection> changelog_ =
        std::make_shared<PackageChangelogSection>();
    std::shared_ptr<PackageBannerVideoSection> bannerVideo_ =
        std::make_shared<PackageBannerVideoSection>();
    std::shared_ptr<PackageScreenshotsSection> screenshots_ =
        std::make_shared<PackageScreenshotsSection>();
    std::shared_ptr<PackageDescriptionSection> description_ =
        std::make_shared<PackageDescriptionSection>();
    std::shared_ptr<PackageReviewsSection> reviews_ = std::make_shared<PackageReviewsSection>();
    std::shared_ptr<PackageInformationSection> information_ =
        std::make_shared<PackageInformationSection>();
    std::shared_ptr<PackageRepositorySection> repository_ =
        std::make_shared<PackageRepositorySection>();
    std::shared_ptr<PackageMoreByDeveloperSection> moreByDeveloper_ =
        std::make_shared<PackageMoreByDeveloperSection>();
};

}  // namespace corvane
