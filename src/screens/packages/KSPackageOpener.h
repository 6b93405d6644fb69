#pragma once

#include <memory>
#include <string>

#include "uikit/ViewController.h"

namespace corvane {

// What a list of packages opens for a row: the package's page, titled with its name, or its web
// depiction when its source asks for the original depictions and the package names a web
// address to show.
class KSPackageOpener {
  public:
    // Null (logged by the factory) while the chosen screen is not registered.
    static std::shared_ptr<uikit::ViewController> screenForPackage(const std::string& identifier);
};

}  // namespace corvane
