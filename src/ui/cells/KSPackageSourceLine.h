#pragma once

#include <optional>
#include <string>

#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"

namespace corvane {

// The second line of a package row when the person prefers the source's name to the
// maintainer's (preference ReplacePackageMaintainerWithSourceName).
class KSPackageSourceLine {
  public:
    static constexpr const char* kPreferenceKey = "ReplacePackageMaintainerWithSourceName";

    static bool isPreferred();
    // The source's name; the localised "Unknown" for a package without a source; empty when its
    // source is not stored (a package only dpkg knows).
    static std::string text(const KSRPackage& package);
    static std::optional<KSRSource> source(const KSRPackage& package);
};

}  // namespace corvane
