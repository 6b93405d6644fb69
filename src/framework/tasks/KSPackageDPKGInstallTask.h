#pragma once

#include <string>

#include "framework/tasks/KSPackageCommandTask.h"

namespace corvane {

// Installs one local archive with "dpkg -i", in the sandbox. The path is checked before anything
// runs, and must lie inside the device root, where the sandbox can read it; the identifier (the
// archive's own "Package" field) only names the package in notifications and the task list.
class KSPackageDPKGInstallTask : public KSPackageCommandTask {
  public:
    // initWithPackagePath:identifier:
    KSPackageDPKGInstallTask(std::string packagePath, std::string identifier);

    std::string taskID() const override { return "DPKGInstall-" + packagePath_; }
    std::string taskDescription() const override;

  protected:
    foundation::Result<std::string> command() const override;
    std::vector<std::string> packageIdentifiers() const override { return {identifier_}; }

  private:
    const std::string packagePath_;
    const std::string identifier_;
};

}  // namespace corvane
