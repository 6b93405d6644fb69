#pragma once

#include <string>
#include <vector>

#include "foundation/Error.h"

namespace corvane {

// What the package tasks share once a command has run: the failure they report, and the
// per-package queue-state notifications.
class KSPackageTaskReport {
  public:
    // A failed command as an error: the lines APT and dpkg marked as errors (or the last lines
    // when none is marked) in the description, and the whole output under "output". A command
    // stopped for making no progress is told as such, naming the package of its last step.
    static foundation::Error commandFailure(const std::string& output, int status,
                                            bool stopped = false);
    // The same error with a summary of the caller's own before the lines of the output.
    static foundation::Error failure(const std::string& summary, const std::string& output);
    // "UpdateQueueStateNotification-<identifier>" on a later turn of the main thread for each
    // identifier, with
    // "Message" "Finished Operation", or "Finished with error" after a failure.
    static void postFinished(const std::vector<std::string>& identifiers, bool succeeded);
};

}  // namespace corvane
