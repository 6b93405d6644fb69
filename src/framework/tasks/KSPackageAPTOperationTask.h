#pragma once

#include <string>

#include "framework/tasks/KSTask.h"

namespace corvane {

// Runs a confirmed queue through apt-get ("apt-get install" with removals as "identifier-",
// versions as "identifier=version", downgrades allowed, and "--reinstall" when the queue asks
// for one) and streams its output, with identifiers shown by their display names, to the
// verbose console. A queue string with a refused word runs nothing.
//
// When apt-get succeeds, the store's queue is reset, the archives are cleaned and the dpkg
// status is read again. When it fails, the task reports a failure carrying the output; the
// queue, the archives and the records stay, so that the user can look and try again. In both
// cases each queued package hears "UpdateQueueStateNotification-<identifier>".
//
// Cancelling stops a task that has not started apt-get; once dpkg runs it is left to finish,
// as stopping it halfway would leave packages half installed.
class KSPackageAPTOperationTask : public KSTask {
  public:
    // initWithPackages:
    explicit KSPackageAPTOperationTask(std::string queueString);

    std::string taskID() const override { return "Install-" + queueString_; }
    std::string pipelineID() const override;
    std::string taskDescription() const override;
    bool isCancellable() const override { return true; }

    const std::string& queueString() const { return queueString_; }

  protected:
    void main() override;

  private:
    void finishRun(bool succeeded, const std::string& output, int status);

    const std::string queueString_;
};

}  // namespace corvane
