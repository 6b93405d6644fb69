#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/storage/KSRPackage.h"
#include "uikit/AlertController.h"

namespace corvane {

// The action sheet "Select Version": one action per version the sources offer, lowest first by
// Debian order; the chosen version goes through the queueing rules of the registered
// application services, so a paid version is still paid for.
class KSVersionMenu {
  public:
    static std::shared_ptr<uikit::AlertController> make(const KSRPackage& package);
    // Each version once, lowest first.
    static std::vector<std::string> sortedVersions(const KSRPackage& package);
};

}  // namespace corvane
