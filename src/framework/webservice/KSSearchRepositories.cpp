#include "framework/webservice/KSSearchRepositories.h"

namespace corvane {

const std::shared_ptr<KSSearchRepositories>& KSSearchRepositories::instance() {
    static const auto repositories = std::make_shared<KSSearchRepositories>();
    return repositories;
}

void KSSearchRepositories::listOnlineRepositoriesWithCompletionHandler(
    std::function<void()> completion) {
    repositories_->fetch(std::move(completion));
}

std::vector<KSOnlineRepository> KSSearchRepositories::onlineRepositories() const {
    return repositories_->records();
}

}  // namespace corvane
