#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/webservice/KSOnlineRepository.h"
#include "framework/webservice/KSWebServiceList.h"

namespace corvane {

// The maker's directory of known online repositories.
class KSSearchRepositories {
  public:
    static std::shared_ptr<KSSearchRepositories> instance();

    // Fetches the directory into onlineRepositories(); a failed fetch (logged) keeps the last
    // directory. The completion, when given, runs on the URL-loading queue either way.
    void listOnlineRepositoriesWithCompletionHandler(std::function<void()> completion = {});
    std::vector<KSOnlineRepository> onlineRepositories() const;

  private:
    std::shared_ptr<KSWebServiceList<KSOnlineRepository>> repositories_ =
        std::make_shared<KSWebServiceList<KSOnlineRepository>>("repositories",
                                                               KSOnlineRepository::fromJSON);
};

}  // namespace corvane
