#include "screens/packages/PackageBackgroundLoad.h"

#include <algorithm>

#include "foundation/Dispatch.h"
#include "framework/network/KSImageFetcher.h"
#include "framework/webservice/KSSearchDeveloper.h"
#include "screens/packages/PackageBanner.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "screens/packages/PackageReviews.h"
#include "screens/packages/PackageScreenshots.h"
#include "screens/packages/PackageSnapshot.h"

namespace corvane {

namespace {

using Page = PackageDetailsViewController;
constexpr auto text = &PackageSnapshot::text;

void avatarOnMain(std::weak_ptr<Page> weak, std::shared_ptr<uikit::Image> avatar) {
    foundation::runOnMain([weak, avatar = std::move(avatar)] {
        if (auto page = weak.lock())
            page->setAuthorAvatar(avatar);
    });
}

}  // namespace

void PackageBackgroundLoad::start(Page& page) {
    loadBanner(page);
    loadAvatar(page);
    PackageScreenshots::load(page);
    PackageReviews::fetchAverageRating(page);
}

void PackageBackgroundLoad::loadBanner(Page& page) {
    const auto& package = page.packageDictionary();
    const std::string banner = text(package, "banner");
    if (!banner.empty()) {
        PackageBanner::fetch(page, banner);
        return;
    }
    if (text(package, "sileoDepiction").empty())
        return;
    if (PackageBanner::isCached(page.packageIdentifier()))
        page.bannerCached = true;
    if (page.bannerCached)
        PackageBanner::showCached(page);
}

void PackageBackgroundLoad::loadAvatar(Page& page) {
    const std::string maintainer = text(page.packageDictionary(), "maintainer");
    if (maintainer.empty()) {
        page.setAuthorAvatar(nullptr);
        return;
    }
    std::weak_ptr<Page> weak = std::static_pointer_cast<Page>(page.shared_from_this());
    KSSearchDeveloper::instance()->searchDeveloper(
        maintainer, [weak, maintainer](const std::vector<KSDeveloperProfile>& developers) {
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

}  // namespace corvane
