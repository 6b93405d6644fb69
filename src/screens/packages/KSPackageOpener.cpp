#include "screens/packages/KSPackageOpener.h"

#include "framework/network/KSFetchableURL.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"
#include "ui/core/KSScreenFactory.h"

namespace corvane {

std::shared_ptr<uikit::ViewController> KSPackageOpener::screenForPackage(
    const std::string& identifier) {
    const auto realm = KSDatabase::realm();
    const auto package = realm.objectForPrimaryKey<KSRPackage>(identifier);
    const auto source = package && package->sourceLocation
                            ? realm.objectForPrimaryKey<KSRSource>(*package->sourceLocation)
                            : std::nullopt;
    const auto website =
        package && package->website ? KSFetchableURL::fromString(*package->website) : std::nullopt;
    KSScreenFactory::Request request;
    request.packageIdentifier = identifier;
    if (source && source->seeOriginalDepictions && website) {
        request.websiteURL = website;
        return KSScreenFactory::make(KSScreenFactory::Screen::webDepiction, request);
    }
    if (package)
        request.title = package->name;
    return KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request);
}

}  // namespace corvane
