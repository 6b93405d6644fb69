#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace corvane {

// Reports views and downloads of packages to the maker's statistics service.
class KSStatistics {
  public:
    // Fields that are nullopt are left out. The completion, when given, runs on the URL-loading
    // queue with whether the service took the report.
    void postPackageStatisticForIdentifier(const std::string& identifier,
                                           const std::optional<std::string>& devName,
                                           const std::optional<std::string>& repoURL,
                                           const std::optional<std::string>& version,
                                           std::int64_t downloadCount, std::int64_t seenCount,
                                           std::function<void(bool succeeded)> completion = {});
};

}  // namespace corvane
