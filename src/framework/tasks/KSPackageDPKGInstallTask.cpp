#include "framework/tasks/KSPackageDPKGInstallTask.h"

#include "foundation/Localization.h"
#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"

namespace corvane {

KSPackageDPKGInstallTask::KSPackageDPKGInstallTask(std::string packagePath, std::string identifier)
    : packagePath_(std::move(packagePath)), identifier_(std::move(identifier)) {}

std::string KSPackageDPKGInstallTask::taskDescription() const {
    const auto subject =
        identifier_.empty() ? foundation::lastPathComponent(packagePath_) : identifier_;
    return foundation::localized("Installing") + " " + subject;
}

foundation::Result<std::string> KSPackageDPKGInstallTask::command() const {
    return KSAPTManager::dpkgInstallCommandForArchive(packagePath_);
}

}  // namespace corvane
