#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/webservice/KSDeveloperProfile.h"

namespace corvane {

// Looks developers up on the maker's service by name.
class KSSearchDeveloper : public std::enable_shared_from_this<KSSearchDeveloper> {
  public:
    using Completion = std::function<void(const std::vector<KSDeveloperProfile>& developers)>;

    static std::shared_ptr<KSSearchDeveloper> instance();

    // Sets developers() to the profiles found (none on a failure, which is logged) and calls the
    // completion on the URL-loading queue with that search's own profiles, which stay right
    // even when another search has finished since.
    void searchDeveloper(const std::string& name, Completion completion);
    std::vector<KSDeveloperProfile> developers() const;

  private:
    mutable std::mutex mutex_;
    std::vector<KSDeveloperProfile> developers_;
};

}  // namespace corvane
