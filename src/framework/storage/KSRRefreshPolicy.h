#pragma once

#include <optional>

namespace corvane {

// When the sources are refreshed without being asked.
class KSRRefreshPolicy {
  public:
    static constexpr double kRefreshIntervalSeconds = 3600;

    // Online, and the last refresh (seconds since 1970) missing, more than an hour before now,
    // or after now (the clock was set back, so its age says nothing).
    static bool isRefreshDue(std::optional<double> lastRefresh, double now, bool online) {
        if (!online)
            return false;
        return !lastRefresh || now - *lastRefresh > kRefreshIntervalSeconds || *lastRefresh > now;
    }
};

}  // namespace corvane
