#pragma once

#include <string>

namespace corvane {

// The stored developers and whether the user follows them. Names are matched in lower case.
class KSRDevelopers {
  public:
    bool isDeveloperFollowed(const std::string& name) const;
    // Records the follow state on a background queue and returns at once; a developer not yet
    // stored is added.
    void setDeveloper(const std::string& name, bool followed);
    // Returns once every follow state recorded so far is stored.
    void waitForPendingChanges();
};

}  // namespace corvane
