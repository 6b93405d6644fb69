#include "screens/archive/ImportedPackageInstallation.h"

#include "foundation/NotificationCenter.h"
#include "framework/tasks/KSPipelineManager.h"

namespace corvane {

namespace {

struct Kept {
    std::shared_ptr<KSInboxArchive> archive;
    foundation::ObservationToken observation;
};

}  // namespace

// The observation holds what it keeps, and lets both go on the task's finished notification.
void ImportedPackageInstallation::keepUntilFinished(std::shared_ptr<KSInboxArchive> archive,
                                                    const std::string& taskID) {
    auto kept = std::make_shared<Kept>();
    kept->archive = std::move(archive);
    kept->observation = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskFinishedNotification,
        [kept, taskID](const foundation::Notification& notification) {
            if (notification.userInfo[KSPipelineUserInfoTaskID].stringValue() != taskID)
                return;
            kept->archive.reset();
            kept->observation.reset();
        });
}

}  // namespace corvane
