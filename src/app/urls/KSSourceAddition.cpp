#include "app/urls/KSSourceAddition.h"

#include <utility>

#include "app/urls/KSURLSchemeAlerts.h"
#include "foundation/Dispatch.h"
#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSRSourceAddress.h"
#include "framework/storage/KSRSources.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSSourceRefreshTask.h"

namespace corvane {

KSSourceAddition::KSSourceAddition(std::shared_ptr<KSPresenter> presenter, std::string title,
                                   std::string address)
    : presenter_(std::move(presenter)),
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
    if (!presenter_->presentViewController(
            KSURLSchemeAlerts::httpApproval(title_, message, approve, decline)))
        finish(Outcome::declined);
}

void KSSourceAddition::finish(Outcome outcome, const std::string& message) {
    observation_.reset();
    if (auto completion = std::exchange(completion_, nullptr))
        completion(outcome, message);
}

}  // namespace corvane
