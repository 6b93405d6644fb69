#include "framework/webservice/KSSearchDeveloper.h"

#include "foundation/Log.h"
#include "foundation/SharedInstance.h"
#include "framework/webservice/KSWebService.h"
#include "framework/webservice/KSWebServiceFields.h"

namespace corvane {

std::shared_ptr<KSSearchDeveloper> KSSearchDeveloper::instance() {
    static auto* search = new foundation::SharedInstance<KSSearchDeveloper>(
        [] { return std::make_shared<KSSearchDeveloper>(); });
    return search->pointer();
}

void KSSearchDeveloper::searchDeveloper(const std::string& name, Completion completion) {
    KSWebService::shared().get(
        "developers", {{"name", name}},
        [self = shared_from_this(),
         completion = std::move(completion)](foundation::Result<foundation::Value> reply) {
            auto found = reply ? KSWebServiceFields::records<KSDeveloperProfile>(
                                     *reply, KSDeveloperProfile::fromJSON)
                               : std::nullopt;
            if (reply && !found) {
                KSLog("The developer search reply is not a list of developers");
            }
            auto developers = found.value_or(std::vector<KSDeveloperProfile>{});
            {
                std::lock_guard lock(self->mutex_);
                self->developers_ = developers;
            }
            if (completion) {
                completion(developers);
            }
        });
}

std::vector<KSDeveloperProfile> KSSearchDeveloper::developers() const {
    std::lock_guard lock(mutex_);
    return developers_;
}

}  // namespace corvane
