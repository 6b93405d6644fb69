#include "screens/packages/PackageDetailsViews.h"

#include "screens/packages/PackageActions.h"
#include "screens/packages/PackageDetailsContentView.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageSnapshot.h"

namespace corvane {

void PackageDetailsViews::connect(const std::shared_ptr<PackagePageModel>& model,
                                  const std::shared_ptr<KSPalettedViewController>& screen,
                                  const std::shared_ptr<PackageActions>& actions) {
    screenshots_->connect(model, screen->view(), [actions] { actions->showScreenshots(); });
    description_->connect(model, screen, [actions] { actions->showAuthor(); });
    reviews_->connect(model, screen, [actions] { actions->seeAllReviews(); });
    // Each strip's section fills it and hears its taps.
    const auto serve = [](const std::shared_ptr<uikit::CollectionView>& strip,
                          const auto& section) {
        strip->setDataSource(section);
        strip->setDelegate(section);
    };
    serve(screenshots_->screenshotsCollectionView, screenshots_);
    serve(screenshots_->beforeAfterCollectionView, screenshots_);
    serve(description_->authorCollectionView, description_);
    serve(reviews_->reviewsCollectionView, reviews_);
    moreByDeveloper_->connect(model, screen, [actions](const std::string& identifier) {
        actions->showPackage(identifier);
    });
    moreByDeveloper_->otherDevPackagesTableView->setDataSource(moreByDeveloper_);
    moreByDeveloper_->otherDevPackagesTableView->setDelegate(moreByDeveloper_);
}

void PackageDetailsViews::showStoredIdentity(const PackagePageModel& model) {
    header_->showPackage(model);
}

void PackageDetailsViews::showStoredDetails(const PackagePageModel& model, bool darkMode) {
    header_->showStoredRating(PackageSnapshot::field(model.packageDictionary(), "myRating"));
    header_->showVersionAndCategory(model);
    bannerVideo_->showVideo(model);
    description_->showStoredDescription(model, darkMode);
    const std::string developer = model.developerName();
    header_->setAuthor(developer);
    information_->setDeveloper(developer);
    moreByDeveloper_->setDeveloper(developer, model.text("identifier"));
    information_->showFacts(model);
    repository_->showSource(model);
}

void PackageDetailsViews::showChange(PackagePageModel::Change change, const PackagePageModel& model,
                                     bool darkMode) {
    using Change = PackagePageModel::Change;
    switch (change) {
        case Change::screenshots:
            screenshots_->screenshotsCollectionView->reloadData();
            break;
        case Change::changelog:
            changelog_->show(model, darkMode);
            break;
        case Change::description:
            description_->showDescription(model.depictionDescription(), darkMode);
            break;
        case Change::name:
            header_->setName(model.depictionName());
            break;
        case Change::banner:
            bannerVideo_->showBanner(scrollView, model.banner());
            break;
        case Change::avatar:
            description_->authorCollectionView->reloadData();
            break;
        case Change::averageRating:
            reviews_->showAverageRating(model.averageRating());
            break;
        default:
            break;
    }
}

void PackageDetailsViews::layout(const PackagePageModel& model) {
    header_->layout(model.isInfoJson());
    changelog_->layout(model);
    bannerVideo_->layout(model);
    screenshots_->layout(model);
    description_->layout(model);
    reviews_->layoutButtons();
    information_->layout(model);
    repository_->layout();
    moreByDeveloper_->layout(model);
    reviews_->layout(!model.packageReviews().empty());
}

void PackageDetailsViews::placeSections() {
    if (auto content = std::dynamic_pointer_cast<PackageDetailsContentView>(contentView))
        content->placeSections();
}

void PackageDetailsViews::paletteDidChange(const KSPalette& palette, bool darkMode) {
    secondBackgroundView->setBackgroundColor(palette.backgroundColor());
    backgroundView->setBackgroundColor(palette.foregroundColor());
    header_->paletteDidChange(palette);
    changelog_->paletteDidChange(palette);
    bannerVideo_->paletteDidChange(palette);
    screenshots_->paletteDidChange(palette);
    description_->paletteDidChange(palette);
    reviews_->paletteDidChange(palette, darkMode);
    information_->paletteDidChange(palette);
    repository_->paletteDidChange(palette);
    moreByDeveloper_->paletteDidChange(palette);
}

void PackageDetailsViews::reloadStrips() {
    for (const auto& collection :
         {screenshots_->screenshotsCollectionView, screenshots_->beforeAfterCollectionView,
          description_->authorCollectionView})
        collection->reloadData();
    moreByDeveloper_->otherDevPackagesTableView->reloadData();
}

}  // namespace corvane
