#pragma once

#include <string>
#include <vector>

#include "framework/storage/KSPackageEngine.h"

namespace corvane {

// The package engine of the stored data: refreshes and downloads become tasks of the pipeline.
class KSPipelinePackageEngine : public KSPackageEngine {
  public:
    // Registers an engine with KSPackageEngineHooks; the application calls it at launch, and
    // requests made before then are handed over.
    static void registerEngine();

    void refreshSources(const std::vector<std::string>& locations) override;
    void downloadPackages(const std::vector<std::string>& identifiers) override;
};

}  // namespace corvane
