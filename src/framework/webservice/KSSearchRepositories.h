#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/webservice/KSOnlineRepository.h"

namespace corvane {

// The maker's directory of known online repositories.
class KSSearchRepositories : public std::enable_shared_from_this<KSSearchRepositories> {
  public:
    static const std::shared_ptr<KSSearchRepositories>& instance();

    // Fetches the directory into onlineRepositories(); a failed fetch (logged) keeps the last
    // directory. The completion, when given, runs on the URL-loading queue either way.
    void listOnlineRepositoriesWithCompletionHandler(std::function<void()> completion = {});
    std::vector<KSOnlineRepository> onlineRepositories() const;

  private:
    mutable std::mutex mutex_;
    std::vector<KSOnlineRepository> repositories_;
};

}  // namespace corvane
