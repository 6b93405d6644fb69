#pragma once

#include <string>

#include "framework/tasks/KSPackageCommandTask.h"

namespace corvane {

// Runs a confirmed queue through apt-get ("apt-get install" with removals as "identifier-",
// versions as "identifier=version", downgrades allowed, and "--reinstall" when the queue asks
// for one); the console shows identifiers by their display names. A queue string with a refused
// word runs nothing.
//
// When apt-get succeeds, the store's queue is reset and the archives are cleaned. When it fails,
// the queue, the archives and the records stay, so that the user can look and try again.
//
// Cancelling stops a task that has not started apt-get; once dpkg runs it is left to finish,
// as stopping it halfway would leave packages half installed.
class KSPackageAPTOperationTask : public KSPackageCommandTask {
  public:
    // initWithPackages:
    explicit KSPackageAPTOperationTask(std::string queueString);

    std::string taskID() const override { return "Install-" + queueString_; }
    std::string taskDescription() const override;
    bool isCancellable() const override { return true; }

    const std::string& queueString() const { return queueString_; }

  protected:
    foundation::Result<std::string> command() const override;
    std::vector<std::string> packageIdentifiers() const override;
    std::map<std::string, std::string> displayNames() const override;
    void commandDidSucceed() override;

  private:
    const std::string queueString_;
};

}  // namespace corvane
