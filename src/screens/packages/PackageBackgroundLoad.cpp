#include "screens/packages/PackageBackgroundLoad.h"

#include <algorithm>

#include "foundation/Dispatch.h"
#include "framework/network/KSImageFetcher.h"
#include "framework/repostore/KSRepoStoreAPI.h"
#include "framework/webservice/KSSearchDeveloper.h"
#include "framework/webservice/KSStatistics.h"
#include "screens/packages/PackageBanner.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageReviews.h"
#include "screens/packages/PackageScreenshots.h"
#include "screens/packages/PackageSnapshot.h"

namespace corvane {

namespace {

void avatarOnMain(std::weak_ptr<PackagePageModel> weak, std::shared_ptr<uikit::Image> avatar) {
    foundation::runOnMain([weak, avatar = std::move(avatar)] {
        if (auto model = weak.lock())
            model->setAuthorAvatar(avatar);
    });
}

}  // namespace

PackageBackgroundLoad::PackageBackgroundLoad(std::shared_ptr<PackagePageModel> model,
                                             std::shared_ptr<PackageScreenshots> screenshots,
                                             std::shared_ptr<PackageReviews> reviews)
    : model_(std::move(model)),
      screenshots_(std::move(screenshots)),
      reviews_(std::move(reviews)) {}

void PackageBackgroundLoad::start() {
    loadBanner();
    loadAvatar();
    screenshots_->load();
    reviews_->fetchAverageRating();
}

void PackageBackgroundLoad::loadBanner() {
    const std::string banner = model_->text("banner");
    if (!banner.empty()) {
        PackageBanner::fetch(model_, banner);
        return;
    }
    if (model_->text("sileoDepiction").empty())
        return;
    if (PackageBanner::isCached(model_->packageIdentifier()))
        model_->setBannerCached();
    if (model_->bannerCached())
        PackageBanner::showCached(model_);
}

void PackageBackgroundLoad::loadAvatar() {
    const std::string maintainer = model_->text("maintainer");
    if (maintainer.empty()) {
        model_->setAuthorAvatar(nullptr);
        return;
    }
    KSSearchDeveloper::instance()->searchDeveloper(
        maintainer, [weak = std::weak_ptr<PackagePageModel>(model_),
                     maintainer](const std::vector<KSDeveloperProfile>& developers) {
            auto match =
                std::find_if(developers.begin(), developers.end(),
                             [&](const auto& profile) { return profile.fullName == maintainer; });
            if (match == developers.end() || !match->avatarURL) {
                avatarOnMain(weak, nullptr);
                return;
            }
            KSImageFetcher::fetch(*match->avatarURL, [weak](KSImageFetcher::Result result) {
                avatarOnMain(weak, std::move(result.image));
            });
        });
}

void PackageBackgroundLoad::loadOnce() {
    if (model_->sourceFound())
        KSStatistics().postPackageStatisticForIdentifier(
            model_->packageIdentifier(), model_->optionalText("maintainer"),
            model_->optionalText("sourceLocation"), model_->optionalText("version"), 0, 1);
    requestPurchaseInfo();
}

void PackageBackgroundLoad::requestPurchaseInfo() {
    const std::string location = model_->text("sourceLocation");
    if (PackageSnapshot::field(model_->packageDictionary(), "isFree").boolValue() ||
        location.empty() || !KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location))
        return;
    KSRepoStoreAPI::sharedRepoStore().purchaseInfoForPackageWithIdentifier(
        model_->packageIdentifier(), [weak = std::weak_ptr<PackagePageModel>(model_)](
                                         bool failed, KSRepoStorePackageInfoResponse info) {
            if (failed)
                return;
            foundation::runOnMain([weak, info] {
                if (auto model = weak.lock())
                    model->setPackageInfo(info.available, info.purchased, info.price);
            });
        });
}

}  // namespace corvane
