#include "screens/packages/PackageBanner.h"

#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/device/KSPaths.h"
#include "framework/network/KSImageFetcher.h"
#include "screens/packages/PackagePageModel.h"

namespace corvane {

namespace {

void showOnMain(std::weak_ptr<PackagePageModel> model, std::uint64_t appearance,
                std::shared_ptr<uikit::Image> image) {
    PackagePageModel::whileCurrent(
        std::move(model), appearance,
        [image = std::move(image)](PackagePageModel& current) { current.setBanner(image); });
}

}  // namespace

std::string PackageBanner::cachePath(const std::string& identifier) {
    return KSPaths::depictionsBannersDirectory() + "/" + identifier + ".png";
}

bool PackageBanner::isCached(const std::string& identifier) {
    return foundation::FileManager::fileExists(cachePath(identifier));
}

void PackageBanner::fetch(const std::shared_ptr<PackagePageModel>& model,
                          const std::string& address) {
    if (!isValidPackageName(model->packageIdentifier()))
        return;
    KSImageFetcher::fetch(
        address, [weak = std::weak_ptr<PackagePageModel>(model), appearance = model->appearance(),
                  identifier = model->packageIdentifier()](KSImageFetcher::Result result) {
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

void PackageBanner::showCached(const std::shared_ptr<PackagePageModel>& model) {
    if (!isValidPackageName(model->packageIdentifier()))
        return;
    foundation::runOnDefaultQueue([weak = std::weak_ptr<PackagePageModel>(model),
                                   appearance = model->appearance(),
                                   path = cachePath(model->packageIdentifier())] {
        if (auto image = uikit::Image::fromFile(path))
            showOnMain(weak, appearance, std::move(image));
    });
}

}  // namespace corvane
