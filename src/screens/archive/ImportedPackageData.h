#pragma once

#include <string>

#include "foundation/Value.h"
#include "framework/apt/KSArchiveControl.h"

namespace corvane {

// What the imported-archive screen shows, as RootViewController descriptions. The archive's
// fields and texts come from outside and are shown as written ("literal" rows).
class ImportedPackageData {
  public:
    static constexpr const char* kWarningColor = "#FF453A";

    // One row while the archive is being read.
    static foundation::Value loading();
    // Titled with "Name", else "Package": the warning for the application's own package, one
    // row per field in the order written, and the raw control text.
    static foundation::Value forControl(const KSArchiveControl& control, bool ownPackage);
    // One row saying why the archive could not be read.
    static foundation::Value forError(const std::string& message);

  private:
    static foundation::Value header(const char* text);
    static foundation::Value detailRow(const std::string& title, const std::string& subtitle);
};

}  // namespace corvane
