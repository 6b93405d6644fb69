#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/storage/KSPackageEngine.h"

namespace corvane {

// Where the package data hands refreshes and downloads to the package engine. Requests made
// while no engine is registered are kept in order and handed over when one registers, so that a
// refresh asked for early in the launch is not lost. Any thread.
class KSPackageEngineHooks {
  public:
    struct Request {
        enum class Kind { refreshSources, downloadPackages };
        Kind kind;
        // The source locations, or the package identifiers.
        std::vector<std::string> arguments;
        bool operator==(const Request&) const = default;
    };

    // Null unregisters.
    static void registerEngine(std::shared_ptr<KSPackageEngine> engine);
    static void refreshSources(const std::vector<std::string>& locations);
    static void downloadPackages(const std::vector<std::string>& identifiers);
    // The requests waiting for an engine.
    static std::vector<Request> pendingRequests();
};

}  // namespace corvane
