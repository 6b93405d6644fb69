#include "framework/tasks/KSPackageAPTOperationTask.h"

#include "foundation/Localization.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSAPTQueueEntry.h"
#include "framework/packagemanager/KSRPackageManager.h"

namespace corvane {

KSPackageAPTOperationTask::KSPackageAPTOperationTask(std::string queueString)
    : queueString_(std::move(queueString)) {}

std::string KSPackageAPTOperationTask::taskDescription() const {
    return foundation::localized("Package Operations");
}

foundation::Result<std::string> KSPackageAPTOperationTask::command() const {
    return KSAPTManager::installCommandForQueue(queueString_);
}

std::vector<std::string> KSPackageAPTOperationTask::packageIdentifiers() const {
    return KSAPTQueueEntry::identifiersOf(queueString_);
}

std::map<std::string, std::string> KSPackageAPTOperationTask::displayNames() const {
    return KSAPTManager::packageNamesForKeys();
}

void KSPackageAPTOperationTask::commandDidSucceed() {
    KSRPackageManager::sharedPackageManager().packages().resetPackagesQueue();
    KSAPTManager::cleanUpArchivesIfNeeded();
}

}  // namespace corvane
