#include "app/presentations/KSPresenter.h"

#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/AlertController.h"
#include "uikit/NavigationController.h"

namespace corvane {

std::shared_ptr<uikit::ViewController> KSPresenter::presenter() const {
    auto window = window_ ? window_() : nullptr;
    return window ? window->topmostPresentedViewController() : nullptr;
}

bool KSPresenter::presentViewController(const std::shared_ptr<uikit::ViewController>& controller,
                                        const KSSender& sender) const {
    auto from = presenter();
    if (!from || !controller) {
        KSLog("Nothing to present from; the presentation was dropped");
        return false;
    }
    sender.anchor(*controller);
    if (std::dynamic_pointer_cast<uikit::AlertController>(controller))
        controller->view()->setTintColor(KSPaletteManager::getActivePalette().tintColor());
    from->present(controller, true);
    return true;
}

bool KSPresenter::presentInNavigationController(
    const std::shared_ptr<uikit::ViewController>& controller, const KSSender& sender) const {
    if (!controller)
        return false;
    return presentViewController(uikit::NavigationController::create(controller), sender);
}

bool KSPresenter::presentErrorPanel(const std::shared_ptr<ErrorViewController>& panel) const {
    panel->setModalPresentationStyle(uikit::ModalPresentationStyle::overFullScreen);
    return presentViewController(panel);
}

bool KSPresenter::presentErrorPanel(const std::string& title, const std::string& message) const {
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle(title, message, 1, foundation::localized("OK"), std::nullopt,
                         KSErrorSelector());
    return presentErrorPanel(panel);
}

}  // namespace corvane
