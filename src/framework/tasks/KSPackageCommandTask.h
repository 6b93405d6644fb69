#pragma once

#include <map>
#include <string>
#include <vector>

#include "foundation/Result.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/tasks/KSTask.h"

namespace corvane {

// What the package tasks do around their one APT or dpkg command: a command line that could not
// be built is refused before anything runs; otherwise the command runs with its output streamed
// to the verbose console, the dpkg status is read again (dpkg's database is the truth whether
// the run succeeded, failed or got halfway) and each package hears
// "UpdateQueueStateNotification-<identifier>". A failure carries the command's output.
class KSPackageCommandTask : public KSTask {
  public:
    // KSPipelinePackageOperation.
    std::string pipelineID() const override;

  protected:
    // Waiting, with no progress to tell yet.
    KSPackageCommandTask();

    // The command line, built from checked words; an error refuses the task.
    virtual foundation::Result<std::string> command() const = 0;
    // The packages the command acts on.
    virtual std::vector<std::string> packageIdentifiers() const = 0;
    // Identifiers and the names the console shows for them.
    virtual std::map<std::string, std::string> displayNames() const { return {}; }
    // After a successful run, before the status is read again.
    virtual void commandDidSucceed() {}

    void main() final;

  private:
    foundation::Result<std::string> preparedCommand() const;
    void finishRun(const KSRootCommandRunner::CommandResult& result);
};

}  // namespace corvane
