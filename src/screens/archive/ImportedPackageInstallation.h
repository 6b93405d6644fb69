#pragma once

#include <memory>
#include <string>

#include "framework/apt/KSInboxArchive.h"

namespace corvane {

// Keeps the inbox copy that a queued install reads until the pipeline reports that install
// finished, however it went; the copy is removed then. The screen that queued it may have gone
// long before. Main thread.
class ImportedPackageInstallation {
  public:
    static void keepUntilFinished(std::shared_ptr<KSInboxArchive> archive,
                                  const std::string& taskID);
};

}  // namespace corvane
