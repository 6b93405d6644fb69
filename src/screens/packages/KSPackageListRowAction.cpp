#include "screens/packages/KSPackageListRowAction.h"

#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/packagemanager/KSQueueStateNotification.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSRQueueOperation.h"
#include "ui/core/KSApplicationServices.h"

namespace corvane {

using uikit::ContextualAction;

std::shared_ptr<ContextualAction> KSPackageListRowAction::actionForPackage(
    const KSRPackage& package, QueueStateChanged didChange) {
    const bool queued = package.isInTheQueue;
    auto action = ContextualAction::create(
        ContextualAction::Style::normal, foundation::localized(queued ? "Remove" : "Queue"),
        [package, queued, didChange = std::move(didChange)](
            ContextualAction&, const ContextualAction::Completion& completion) {
            if (queued)
                remove(package);
            else
                queue(package);
            if (didChange)
                didChange(package.identifier);
            completion(true);
        });
    action->setBackgroundColor(queued ? uikit::Color::systemRed() : queueColor());
    return action;
}

// Pages and Get buttons that show the package hear that it left the queue.
void KSPackageListRowAction::remove(const KSRPackage& package) {
    KSRPackageManager::sharedPackageManager().packages().setPackageObject(
        package, false, std::nullopt, KSRQueueOperationNone);
    KSQueueStateNotification::post(package.identifier,
                                   KSQueueStateNotification::kCanceledOperation);
}

void KSPackageListRowAction::queue(const KSRPackage& package) {
    auto services = KSApplicationServices::shared();
    if (!services) {
        KSLog("Nothing queues packages yet; %@ was not queued", package.identifier);
        return;
    }
    services->queuePackageWithIdentifier(package.identifier, std::nullopt, nullptr);
}

}  // namespace corvane
