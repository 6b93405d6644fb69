#include "app/tabs/KSTabBarController.h"

#include "foundation/Clock.h"
#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"
#include "framework/tasks/KSPipelineManager.h"
#include "screens/tasks/TasksVerboseViewController.h"
#include "ui/core/KSScreenFactory.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/Device.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace corvane {

namespace {

constexpr const char* kQueuedPredicate = "isInTheQueue = 1";

}  // namespace

std::shared_ptr<KSTabBarController> KSTabBarController::self() {
    return std::static_pointer_cast<KSTabBarController>(shared_from_this());
}

void KSTabBarController::viewDidLoad() {
    uikit::TabBarController::viewDidLoad();
    startTime_ = kNoRefresh;
    hudView_ = KSFloatingHudView::create(std::weak_ptr<HudPresenting>(self()));
    hudView_->anchorToView(view(), tabBar()->topAnchor());
    hudView_->updatePalette();
    hudView_->setHidden(true);
    observePipelineAndPalette();
}

// Operations change on the threads of the pipeline: the panel is touched on the main thread only.
void KSTabBarController::observePipelineAndPalette() {
    std::weak_ptr<KSTabBarController> weak = self();
    operationsObservation_ =
        KSPipelineManager::sharedManager().pipelineOperationQueue()->observableOperations().observe(
            [weak](const auto&) {
                foundation::runOnMain([weak] {
                    if (auto alive = weak.lock())
                        alive->operationsDidChange();
                });
            });
    paletteObservation_ =
        KSPaletteManager::sharedPaletteManager().observeActiveStyle([weak](const auto&) {
            foundation::runOnMain([weak] {
                if (auto alive = weak.lock())
                    alive->hudView_->updatePalette();
            });
        });
}

void KSTabBarController::viewDidAppear(bool animated) {
    uikit::TabBarController::viewDidAppear(animated);
    observeQueueIfNeeded();
    updateQueueCount();
}

void KSTabBarController::observeQueueIfNeeded() {
    if (queuedPackages_)
        return;
    queuedPackages_ = KSDatabase::realm().objectsWhere<KSRPackage>(kQueuedPredicate);
    notification_ = queuedPackages_->addNotificationBlock(
        [weak = std::weak_ptr<KSTabBarController>(self())](const auto&) {
            if (auto alive = weak.lock())
                alive->updateQueueCount();
        });
}

void KSTabBarController::updateQueueCount() {
    if (!hudView_ || hudView_->presentationType() != KSFloatingHudView::queueMode)
        return;
    const auto count = queuedPackages_
                           ? queuedPackages_->count()
                           : KSDatabase::realm().objectsWhere<KSRPackage>(kQueuedPredicate).count();
    hudView_->setItemCount(count);
}

// Only source refreshes show in the panel; installs and the other tasks leave it as it is.
void KSTabBarController::operationsDidChange() {
    const auto running = KSPipelineManager::sharedManager().sourceRefreshCount();
    const bool showing = startTime_ != kNoRefresh;
    if (running == 0 && (!showing || refreshEnded_))
        return;
    if (running > 0 && (!showing || refreshEnded_))
        refreshDidStart();
    hudView_->setPresentationType(KSFloatingHudView::refreshMode);
    hudView_->setItemCount(running);
    if (running == 0)
        refreshDidEnd();
}

void KSTabBarController::refreshDidStart() {
    ++returnGeneration_;
    refreshEnded_ = false;
    startTime_ = foundation::Clock::now();
    hudView_->resetProgressTotal();
}

void KSTabBarController::refreshDidEnd() {
    refreshEnded_ = true;
    hudView_->setSecondaryText(
        foundation::format(foundation::localized("Updated %ld sources in %.2f secconds"),
                           hudView_->progressTotal(), foundation::Clock::now() - startTime_));
    foundation::runOnMainAfter(
        kQueueModeReturnDelay,
        [weak = std::weak_ptr<KSTabBarController>(self()), generation = returnGeneration_] {
            if (auto alive = weak.lock())
                alive->returnToQueueMode(generation);
        });
}

void KSTabBarController::returnToQueueMode(std::uint64_t generation) {
    if (generation != returnGeneration_)
        return;
    hudView_->setPresentationType(KSFloatingHudView::queueMode);
    hudView_->resetProgressTotal();
    startTime_ = kNoRefresh;
    refreshEnded_ = false;
    updateQueueCount();
}

void KSTabBarController::presentQueue() {
    foundation::runOnMain([weak = std::weak_ptr<KSTabBarController>(self())] {
        if (auto alive = weak.lock())
            alive->presentInNavigation(
                KSScreenFactory::make(KSScreenFactory::Screen::queueConfirmation), true);
    });
}

void KSTabBarController::presentTasks() {
    foundation::runOnMain([weak = std::weak_ptr<KSTabBarController>(self())] {
        auto alive = weak.lock();
        if (!alive)
            return;
        if (CorvanePersistentPreferences::sharedInstance().boolForKey("ShowVerboseUI"))
            alive->presentInNavigation(std::make_shared<TasksVerboseViewController>(), false);
        else
            alive->presentInNavigation(KSScreenFactory::make(KSScreenFactory::Screen::taskList),
                                       false);
    });
}

void KSTabBarController::presentInNavigation(std::shared_ptr<uikit::ViewController> root,
                                             bool formSheetOnPad) {
    if (!root)
        return;
    auto navigation = uikit::NavigationController::create(std::move(root));
    if (formSheetOnPad &&
        uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad)
        navigation->setModalPresentationStyle(uikit::ModalPresentationStyle::formSheet);
    // Over whatever the window shows: a package page opened from a link may be up already.
    KSPresenter([weak = std::weak_ptr<KSTabBarController>(self())] {
        auto alive = weak.lock();
        return alive ? alive->containingWindow() : nullptr;
    }).presentViewController(navigation);
}

}  // namespace corvane
