#include "ui/settings/KSTopmostAlert.h"

#include "uikit/AlertController.h"
#include "uikit/Application.h"
#include "uikit/Window.h"

namespace corvane {

bool KSTopmostAlert::show(const std::string& title, const std::string& message,
                          const std::string& cancelTitle) {
    auto window = uikit::Application::shared().keyWindow();
    auto presenter = window ? window->topmostPresentedViewController() : nullptr;
    if (!presenter)
        return false;
    auto alert =
        uikit::AlertController::create(title, message, uikit::AlertController::Style::alert);
    alert->addAction(uikit::AlertAction::create(cancelTitle, uikit::AlertAction::Style::cancel));
    presenter->present(alert, true);
    return true;
}

}  // namespace corvane
