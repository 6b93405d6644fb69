#include "app/presentations/KSPackageOptionsMenu.h"

#include "app/presentations/KSPresentations.h"
#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSParsingUtility.h"
#include "framework/packagemanager/KSQueueStateNotification.h"
#include "framework/storage/KSRQueueOperation.h"
#include "ui/core/KSApplicationServices.h"

namespace corvane {

using foundation::localized;
using uikit::AlertAction;

std::shared_ptr<uikit::AlertController> KSPackageOptionsMenu::make(
    const KSRPackage& package, const std::weak_ptr<KSPresentations>& presentations,
    const KSSender& sender) {
    auto sheet =
        uikit::AlertController::create(localized("What would you like to do?"), std::nullopt,
                                       uikit::AlertController::Style::actionSheet);
    if (package.isInstalled)
        addInstalledActions(*sheet, package, presentations);
    const std::string identifier = package.identifier;
    if (!package.availableVersions.empty()) {
        sheet->addAction(AlertAction::create(
            localized("Select Version"), AlertAction::Style::defaultStyle,
            [presentations, identifier, sender](AlertAction&) {
                if (auto alive = presentations.lock())
                    alive->showVersionSelectionMenuForIdentifier(identifier, sender);
            }));
    }
    sheet->addAction(AlertAction::create(
        foundation::format(localized("Share %@"), package.name.value_or(identifier)),
        AlertAction::Style::defaultStyle, [presentations, identifier, sender](AlertAction&) {
            if (auto alive = presentations.lock())
                alive->sharePackage(identifier, sender);
        }));
    sheet->addAction(AlertAction::create(localized("Cancel"), AlertAction::Style::cancel));
    return sheet;
}

void KSPackageOptionsMenu::addInstalledActions(
    uikit::AlertController& sheet, const KSRPackage& package,
    const std::weak_ptr<KSPresentations>& presentations) {
    const std::string identifier = package.identifier;
    const auto installedVersion = package.installedVersion;
    sheet.addAction(AlertAction::create(
        localized("Reinstall"), AlertAction::Style::defaultStyle, [=](AlertAction&) {
            queueAndPresent(identifier, installedVersion, KSRQueueOperationReinstall,
                            presentations);
        }));
    sheet.addAction(AlertAction::create(
        localized("Uninstall"), AlertAction::Style::defaultStyle, [=](AlertAction&) {
            queueAndPresent(identifier, std::nullopt, KSRQueueOperationRemove, presentations);
        }));
    const bool held = package.isHeld;
    sheet.addAction(AlertAction::create(localized(held ? "Show Updates" : "Ignore Updates"),
                                        AlertAction::Style::defaultStyle,
                                        [=](AlertAction&) { setHeld(identifier, !held); }));
}

// apt-mark waits for the root command runner, which another command may hold for minutes:
// the screen keeps turning meanwhile, and the application is not at rest until the status
// has been read again.
void KSPackageOptionsMenu::setHeld(const std::string& identifier, bool held) {
    const auto services = KSApplicationServices::shared();
    auto done = services ? services->beginBackgroundWork() : std::function<void()>([] {});
    foundation::runInBackground([identifier, held, done = std::move(done)] {
        const auto update = [identifier, done](const std::string&, const std::string& output,
                                               bool finished, int status) {
            if (!finished)
                return;
            if (status != 0)
                KSLog("apt-mark for %@ failed (%d): %@", identifier, status, output);
            KSParsingUtility::checkStatusFileWithCompletion(done);
        };
        if (held)
            KSAPTManager::hold(identifier, update);
        else
            KSAPTManager::unhold(identifier, update);
    });
}

void KSPackageOptionsMenu::queueAndPresent(const std::string& identifier,
                                           const std::optional<std::string>& version,
                                           unsigned operation,
                                           const std::weak_ptr<KSPresentations>& presentations) {
    KSQueueStateNotification::markQueued(identifier, version, operation);
    if (auto alive = presentations.lock())
        alive->presentQueue();
}

}  // namespace corvane
