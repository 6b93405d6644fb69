#include "framework/webservice/KSSearchRepositories.h"

#include "foundation/SharedInstance.h"

namespace corvane {

std::shared_ptr<KSSearchRepositories> KSSearchRepositories::instance() {
    static auto* repositories = new foundation::SharedInstance<KSSearchRepositories>(
        [] { return std::make_shared<KSSearchRepositories>(); });
    return repositories->pointer();
}

void KSSearchRepositories::listOnlineRepositoriesWithCompletionHandler(
    std::function<void()> completion) {
    repositories_->fetch(std::move(completion));
}

std::vector<KSOnlineRepository> KSSearchRepositories::onlineRepositories() const {
    return repositories_->records();
}

}  // namespace corvane
