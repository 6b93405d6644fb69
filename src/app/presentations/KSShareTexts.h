#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"

namespace corvane {

// The texts of the share sheets, with the links that bring the reader back into the
// application.
class KSShareTexts {
  public:
    // Stands for the name and the location of a source that is no longer stored.
    static constexpr const char* kRemovedSource = "(Removed source)";

    static std::string packageText(const KSRPackage& package,
                                   const std::optional<KSRSource>& source);
    static std::string sourceText(const KSRSource& source);
    // Every location on a line of its own.
    static std::string allSourcesText(const std::vector<std::string>& locations);
};

}  // namespace corvane
