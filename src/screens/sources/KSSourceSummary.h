#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/storage/KSRSource.h"
#include "uikit/Image.h"

namespace corvane {

// What the sources screens say about a stored source.
class KSSourceSummary {
  public:
    // Its name, or its address without scheme and closing slash while the repository has not
    // named itself.
    static std::string displayName(const KSRSource& source);
    // A refresh of the source is queued or running.
    static bool isRefreshing(const std::string& location);
    // "Refreshing…" while it is, else the last refresh's error, else when it last ended well.
    static std::string state(const KSRSource& source, bool refreshing);
    // "Never refreshed" for a source that has not been.
    static std::string lastRefresh(const KSRSource& source);
    // Its own icon once a refresh has fetched it, else the default source icon.
    static std::shared_ptr<uikit::Image> icon(const std::string& location);
    // Its packages that are installed.
    static std::int64_t installedPackagesCount(const std::string& location);
};

}  // namespace corvane
