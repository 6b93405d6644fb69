#include "app/urls/KSURLSchemeAlerts.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"

namespace corvane {

using foundation::localized;
using uikit::AlertAction;
using uikit::AlertController;

namespace {

std::shared_ptr<AlertController> alert(const std::string& title, const std::string& message) {
    return AlertController::create(title, message, AlertController::Style::alert);
}

void addAction(AlertController& alert, const char* title, AlertAction::Style style,
               KSURLSchemeAlerts::Action action = {}) {
    alert.addAction(AlertAction::create(localized(title), style, [action](AlertAction&) {
        if (action)
            action();
    }));
}

std::shared_ptr<AlertController> question(const std::string& title, const std::string& message,
                                          KSURLSchemeAlerts::Action onYes) {
    auto asked = alert(title, message);
    addAction(*asked, "No, thanks", AlertAction::Style::defaultStyle);
    addAction(*asked, "Yes", AlertAction::Style::defaultStyle, std::move(onYes));
    return asked;
}

}  // namespace

std::shared_ptr<AlertController> KSURLSchemeAlerts::addRepository(const std::string& address,
                                                                  Action onYes) {
    return question(
        localized("Add repository"),
        foundation::format(localized("Would you like to add repository: %@ to Corvane"), address),
        std::move(onYes));
}

std::shared_ptr<AlertController> KSURLSchemeAlerts::addRepositoryToShowPackage(
    const std::string& address, const std::optional<std::string>& name, Action onYes) {
    auto message =
        name ? foundation::format(localized("Would you like to add repository: %@ to Corvane, "
                                            "in order to show package: %@"),
                                  address, *name)
             : foundation::format(localized("Would you like to add repository: %@ to Corvane, "
                                            "in order to show the package"),
                                  address);
    return question(localized("Show package"), message, std::move(onYes));
}

std::shared_ptr<AlertController> KSURLSchemeAlerts::packageDoesNotExist() {
    return refusal(localized("Show package"), localized("Package does not exist."));
}

std::shared_ptr<AlertController> KSURLSchemeAlerts::refusal(const std::string& title,
                                                            const std::string& message) {
    auto refused = alert(title, message);
    addAction(*refused, "Close", AlertAction::Style::defaultStyle);
    return refused;
}

}  // namespace corvane
