#pragma once

#include <memory>

#include "app/presentations/KSSender.h"
#include "framework/storage/KSRPackage.h"
#include "uikit/AlertController.h"

namespace corvane {

class KSPresentations;

// The action sheet "What would you like to do?" for one package: reinstall, uninstall and
// hold or unhold when it is installed, the version menu when versions are available, and
// share. No payment rule applies to what it queues.
class KSPackageOptionsMenu {
  public:
    static std::shared_ptr<uikit::AlertController> make(
        const KSRPackage& package, const std::weak_ptr<KSPresentations>& presentations,
        const KSSender& sender);

  private:
    static void addInstalledActions(uikit::AlertController& sheet, const KSRPackage& package,
                                    const std::weak_ptr<KSPresentations>& presentations);
    // apt-mark off the main thread, then the status file is read again whatever the command
    // answered, so that the next menu offers the other choice.
    static void setHeld(const std::string& identifier, bool held);
    static void queueAndPresent(const std::string& identifier,
                                const std::optional<std::string>& version, unsigned operation,
                                const std::weak_ptr<KSPresentations>& presentations);
};

}  // namespace corvane
