#include "framework/webservice/KSSearchRepositories.h"

#include "foundation/Log.h"
#include "framework/webservice/KSWebService.h"
#include "framework/webservice/KSWebServiceFields.h"

namespace corvane {

const std::shared_ptr<KSSearchRepositories>& KSSearchRepositories::instance() {
    static const auto repositories = std::make_shared<KSSearchRepositories>();
    return repositories;
}

void KSSearchRepositories::listOnlineRepositoriesWithCompletionHandler(
    std::function<void()> completion) {
    KSWebService::shared().get(
        "repositories", {},
        [self = shared_from_this(),
         completion = std::move(completion)](foundation::Result<foundation::Value> reply) {
            auto found = reply ? KSWebServiceFields::records<KSOnlineRepository>(
                                     *reply, KSOnlineRepository::fromJSON)
                               : std::nullopt;
            if (found) {
                std::lock_guard lock(self->mutex_);
                self->repositories_ = std::move(*found);
            } else if (reply) {
                KSLog("The repository directory reply is not a list of repositories");
            }
            if (completion) {
                completion();
            }
        });
}

std::vector<KSOnlineRepository> KSSearchRepositories::onlineRepositories() const {
    std::lock_guard lock(mutex_);
    return repositories_;
}

}  // namespace corvane
