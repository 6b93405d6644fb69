#include "app/launch/KSAlertAnswerer.h"

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "uikit/AlertController.h"
#include "uikit/Application.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace corvane {

bool KSAlertAnswerer::answerShownAlert() {
    auto window = uikit::Application::shared().keyWindow();
    if (!window || !hasAnswersLeft())
        return false;
    auto top = window->topmostPresentedViewController();
    if (!top || top == window->rootViewController() || top->isBeingPresented())
        return false;
    if (auto alert = std::dynamic_pointer_cast<uikit::AlertController>(top))
        return answerAlert(alert);
    return tapBarButton(top);
}

bool KSAlertAnswerer::answerAlert(const std::shared_ptr<uikit::AlertController>& alert) {
    const auto& answer = answers_[next_++];
    if (uikit::hands::pickAlertAction(alert, answer))
        return true;
    KSLog("The alert \"%@\" has no button \"%@\" to answer with", alert->title().value_or(""),
          answer);
    return false;
}

bool KSAlertAnswerer::tapBarButton(const std::shared_ptr<uikit::ViewController>& presented) {
    auto screen = presented;
    if (auto navigation = std::dynamic_pointer_cast<uikit::NavigationController>(presented))
        screen = navigation->topViewController();
    if (!screen)
        return false;
    auto item = screen->navigationItem();
    for (const auto& button : {item->leftBarButtonItem(), item->rightBarButtonItem()}) {
        if (button && button->isEnabled() && button->displayText() == answers_[next_]) {
            ++next_;
            return uikit::hands::tapBarButton(button);
        }
    }
    return false;
}

void KSAlertAnswerer::start() {
    scheduleCheck();
}

void KSAlertAnswerer::scheduleCheck() {
    std::weak_ptr<KSAlertAnswerer> weakSelf = weak_from_this();
    foundation::runOnMainAfter(kCheckIntervalSeconds, [weakSelf] {
        auto self = weakSelf.lock();
        if (!self)
            return;
        self->answerShownAlert();
        if (self->hasAnswersLeft())
            self->scheduleCheck();
    });
}

}  // namespace corvane
