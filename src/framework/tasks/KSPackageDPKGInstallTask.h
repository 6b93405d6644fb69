#pragma once

#include <string>

#include "framework/tasks/KSTask.h"

namespace corvane {

// Installs one local archive with "dpkg -i", streaming dpkg's output to the verbose console,
// then reads the dpkg status again. The path is checked before anything runs; the identifier
// (the archive's own "Package" field) only names the package in notifications and the task
// list. A failure carries dpkg's output.
class KSPackageDPKGInstallTask : public KSTask {
  public:
    // initWithPackagePath:identifier:
    KSPackageDPKGInstallTask(std::string packagePath, std::string identifier);

    std::string taskID() const override { return "DPKGInstall-" + packagePath_; }
    std::string pipelineID() const override;
    std::string taskDescription() const override;

  protected:
    void main() override;

  private:
    const std::string packagePath_;
    const std::string identifier_;
};

}  // namespace corvane
