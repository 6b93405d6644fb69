#include "app/launch/KSAlertAnswerer.h"

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "uikit/AlertController.h"
#include "uikit/Application.h"
#include "uikit/InterfaceHands.h"
#include "uikit/Window.h"

namespace corvane {

bool KSAlertAnswerer::answerShownAlert() {
    auto window = uikit::Application::shared().keyWindow();
    if (!window || !hasAnswersLeft())
        return false;
    auto alert =
        std::dynamic_pointer_cast<uikit::AlertController>(window->topmostPresentedViewController());
    if (!alert || alert->isBeingPresented())
        return false;
    const auto& answer = answers_[next_++];
    if (uikit::hands::pickAlertAction(alert, answer))
        return true;
    KSLog("The alert \"%@\" has no button \"%@\" to answer with", alert->title().value_or(""),
          answer);
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
