#include "app/queue/KSQueueAlerts.h"

#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "uikit/AlertController.h"

namespace corvane {

using foundation::localized;
using uikit::AlertAction;
using uikit::AlertController;

namespace {

std::shared_ptr<AlertController> alertWithOK(const std::string& title, const std::string& message) {
    auto alert = AlertController::create(title, message, AlertController::Style::alert);
    alert->addAction(AlertAction::create(localized("OK"), AlertAction::Style::cancel));
    return alert;
}

void show(const std::shared_ptr<KSPresentations>& presentations,
          std::shared_ptr<AlertController> alert) {
    foundation::runOnMain(
        [presentations, alert = std::move(alert)] { presentations->presentViewController(alert); });
}

}  // namespace

void KSQueueAlerts::showNoEndpoint(const std::shared_ptr<KSPresentations>& presentations,
                                   const std::string& sourceName) {
    show(presentations,
         alertWithOK(localized("Can't get package"),
                     foundation::format(
                         localized("You are either not signed into %@, or this repo does not "
                                   "support modern payments. If this package was purchased "
                                   "using the Cydia Store, please login from Account "
                                   "Settings>Stores>Cydia Store"),
                         sourceName)));
}

void KSQueueAlerts::showInfoError(const std::shared_ptr<KSPresentations>& presentations,
                                  const foundation::Error& error,
                                  const std::optional<foundation::URL>& recoveryURL) {
    auto alert =
        AlertController::create(localized("Error fetching package info"),
                                error.localizedDescription(), AlertController::Style::alert);
    if (recoveryURL) {
        alert->addAction(AlertAction::create(localized("More Info"),
                                             AlertAction::Style::defaultStyle,
                                             [presentations, recoveryURL](AlertAction&) {
                                                 presentations->openURLInSafariVC(recoveryURL);
                                             }));
    }
    alert->addAction(AlertAction::create(localized("OK"), AlertAction::Style::cancel));
    show(presentations, std::move(alert));
}

void KSQueueAlerts::showPurchaseFailed(const std::shared_ptr<KSPresentations>& presentations,
                                       const std::optional<foundation::Error>& error) {
    auto message = error ? error->localizedDescription()
                         : localized(
                               "The purchase was unsuccessful. This could mean there was "
                               "an issue with your payment, or the repo maintainer denied "
                               "your purchase request");
    show(presentations, alertWithOK(localized("Purchase Failed"), message));
}

}  // namespace corvane
