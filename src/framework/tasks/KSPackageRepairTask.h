#pragma once

#include <string>

#include "framework/apt/KSUnfinishedPackages.h"
#include "framework/tasks/KSTask.h"

namespace corvane {

// The launch's repair of what dpkg left unfinished (KSAPTManager::fixPartiallyInstalledPackages)
// as a task of the package pipeline: the task list shows it while it waits for the root command
// runner and while it runs, and the console follows it. What it cannot mend fails the task, so
// that it reaches the person as any failed task does, naming each package, with dpkg's words and
// the way out: reinstall or remove it from its page.
class KSPackageRepairTask : public KSTask {
  public:
    KSPackageRepairTask();

    std::string taskID() const override { return "Repair"; }
    std::string pipelineID() const override;
    std::string taskDescription() const override;

  protected:
    void main() override;

  private:
    // The packages named with the way out, then dpkg's words.
    static foundation::Error unmended(const KSUnfinishedPackages& left, const std::string& output);
};

}  // namespace corvane
