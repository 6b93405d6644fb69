#include "app/presentations/KSVersionMenu.h"

#include <algorithm>

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/debian/VersionCompare.h"
#include "ui/core/KSApplicationServices.h"

namespace corvane {

using foundation::localized;
using uikit::AlertAction;

std::vector<std::string> KSVersionMenu::sortedVersions(const KSRPackage& package) {
    std::vector<std::string> versions;
    for (const auto& available : package.availableVersions) {
        if (std::ranges::find(versions, available.version) == versions.end())
            versions.push_back(available.version);
    }
    std::ranges::stable_sort(versions, [](const std::string& a, const std::string& b) {
        return compareVersions(a, b) < 0;
    });
    return versions;
}

std::shared_ptr<uikit::AlertController> KSVersionMenu::make(const KSRPackage& package) {
    auto sheet = uikit::AlertController::create(
        localized("Select Version"),
        foundation::format(localized("Select the version of %@ you would like to install."),
                           package.name.value_or(package.identifier)),
        uikit::AlertController::Style::actionSheet);
    for (const auto& version : sortedVersions(package)) {
        sheet->addAction(AlertAction::create(
            version, AlertAction::Style::defaultStyle,
            [identifier = package.identifier](AlertAction& action) {
                auto services = KSApplicationServices::shared();
                if (!services) {
                    KSLog("No application services to queue %@", identifier);
                    return;
                }
                services->queuePackageWithIdentifier(identifier, action.title(), nullptr);
            }));
    }
    sheet->addAction(AlertAction::create(localized("Cancel"), AlertAction::Style::cancel));
    return sheet;
}

}  // namespace corvane
