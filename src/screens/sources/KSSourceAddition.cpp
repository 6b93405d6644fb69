#include "screens/sources/KSSourceAddition.h"

#include <utility>

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSRSourceAddress.h"
#include "framework/storage/KSRSources.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSSourceRefreshTask.h"
#include "uikit/AlertController.h"

namespace corvane {

namespace {

// The collection's warning about a plain http repository: Add adds it all the same.
std::shared_ptr<uikit::AlertController> httpApprovalAlert(const std::string& title,
                                                          const std::string& message,
                                                          std::function<void()> onAdd,
                                                          std::function<void()> onCancel) {
    using uikit::AlertAction;
    auto asked =
        uikit::AlertController::create(title, message, uikit::AlertController::Style::alert);
    asked->addAction(AlertAction::create(foundation::localized("Cancel"),
                                         AlertAction::Style::cancel,
                                         [onCancel](AlertAction&) { onCancel(); }));
    asked->addAction(AlertAction::create(foundation::localized("Add"),
                                         AlertAction::Style::defaultStyle,
                                         [onAdd](AlertAction&) { onAdd(); }));
    return asked;
}

}  // namespace

KSSourceAddition::KSSourceAddition(Presenting presenting, std::string title, std::string address)
    : presenting_(std::move(presenting)),
      title_(std::move(title)),
      address_(std::move(address)),
      location_(KSRSourceAddress::normalised(address_).value_or(address_)) {}

void KSSourceAddition::start(Completion completion) {
    completion_ = std::move(completion);
    add(false);
}

// The refusal comes back at once; it is told on the next turn, as the collection's own
// notification is, so that an alert answered just now has gone before the next one shows.
void KSSourceAddition::add(bool httpApproval) {
    auto refusal = KSRPackageManager::sharedPackageManager().sources().addSourceWithLocation(
        address_, httpApproval);
    if (!refusal) {
        observeRefresh();
        return;
    }
    foundation::runAsyncOnMain([weakSelf = weak_from_this(), refusal = *refusal] {
        if (auto self = weakSelf.lock())
            self->refused(refusal);
    });
}

// The source was stored by this addition just now, so the refresh of its location that ends
// next is the one the collection asked for.
void KSSourceAddition::observeRefresh() {
    std::weak_ptr<KSSourceAddition> weakSelf = weak_from_this();
    observation_ = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskFinishedNotification,
        [weakSelf, taskID = KSSourceRefreshTask::taskIDForLocation(location_)](
            const foundation::Notification& notification) {
            auto self = weakSelf.lock();
            if (self && notification.userInfo[KSPipelineUserInfoTaskID].stringValue() == taskID)
                self->finish(Outcome::refreshed);
        });
}

void KSSourceAddition::refused(const std::string& refusal) {
    const auto message = KSRSources::refusalMessage(refusal);
    if (refusal == KSRSources::kRefusalNeedsHttpApproval)
        askForHttpApproval(message);
    else
        finish(Outcome::refused, message);
}

void KSSourceAddition::askForHttpApproval(const std::string& message) {
    std::weak_ptr<KSSourceAddition> weakSelf = weak_from_this();
    auto approve = [weakSelf] {
        if (auto self = weakSelf.lock())
            self->add(true);
    };
    auto decline = [weakSelf] {
        if (auto self = weakSelf.lock())
            self->finish(Outcome::declined);
    };
    if (!presenting_(httpApprovalAlert(title_, message, approve, decline)))
        finish(Outcome::declined);
}

void KSSourceAddition::finish(Outcome outcome, const std::string& message) {
    observation_.reset();
    if (auto completion = std::exchange(completion_, nullptr))
        completion(outcome, message);
}

}  // namespace corvane
