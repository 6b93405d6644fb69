#include "screens/packages/PackageBanner.h"

#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/misc/KSPaths.h"
#include "framework/network/KSImageFetcher.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "ui/extensions/ScrollViewInteractiveHeader.h"

namespace corvane {

namespace {

// Hands the image to the page, unless the appearance that asked for it has passed.
void showOnMain(std::weak_ptr<PackageDetailsViewController> weak, std::uint64_t appearance,
                std::shared_ptr<uikit::Image> image) {
    foundation::runOnMain([weak, appearance, image = std::move(image)] {
        auto page = weak.lock();
        if (page && page->appearance() == appearance)
            PackageBanner::show(*page, image);
    });
}

std::weak_ptr<PackageDetailsViewController> weakPage(PackageDetailsViewController& page) {
    return std::static_pointer_cast<PackageDetailsViewController>(page.shared_from_this());
}

}  // namespace

std::string PackageBanner::cachePath(const std::string& identifier) {
    return KSPaths::depictionsBannersDirectory() + "/" + identifier + ".png";
}

bool PackageBanner::isCached(const std::string& identifier) {
    return foundation::FileManager::fileExists(cachePath(identifier));
}

void PackageBanner::fetch(PackageDetailsViewController& page, const std::string& address) {
    if (!isValidPackageName(page.packageIdentifier()))
        return;
    KSImageFetcher::fetch(
        address, [weak = weakPage(page), appearance = page.appearance(),
                  identifier = page.packageIdentifier()](KSImageFetcher::Result result) {
            if (!result.image)
                return;
            // A folder that cannot be made shows as the write's failure below.
            (void)foundation::FileManager::createDirectory(KSPaths::depictionsBannersDirectory());
            auto png = result.image->pngData();
            if (!png || !foundation::FileManager::writeAtomically(cachePath(identifier), *png))
                KSLog("The banner of %@ was not cached", identifier);
            showOnMain(weak, appearance, std::move(result.image));
        });
}

void PackageBanner::showCached(PackageDetailsViewController& page) {
    if (!isValidPackageName(page.packageIdentifier()))
        return;
    foundation::runOnDefaultQueue([weak = weakPage(page), appearance = page.appearance(),
                                   path = cachePath(page.packageIdentifier())] {
        if (auto image = uikit::Image::fromFile(path))
            showOnMain(weak, appearance, std::move(image));
    });
}

void PackageBanner::show(PackageDetailsViewController& page, std::shared_ptr<uikit::Image> image) {
    ScrollViewInteractiveHeader::addHeaderWithImage(page.scrollView, std::move(image), kHeight);
    page.scrollView->setContentOffset({0, kRestOffset});
    page.setNavigationBarAlpha(0);
}

}  // namespace corvane
