#include "framework/webservice/KSNewsRetrieval.h"

#include "foundation/Log.h"
#include "framework/webservice/KSWebService.h"
#include "framework/webservice/KSWebServiceFields.h"

namespace corvane {

const std::shared_ptr<KSNewsRetrieval>& KSNewsRetrieval::instance() {
    static const auto retrieval = std::make_shared<KSNewsRetrieval>();
    return retrieval;
}

void KSNewsRetrieval::fetchNewsWithCompletionHandler(std::function<void()> completion) {
    KSWebService::shared().get("news", {},
                               [self = shared_from_this(), completion = std::move(completion)](
                                   foundation::Result<foundation::Value> reply) {
                                   auto items = reply ? KSWebServiceFields::records<KSNewsItem>(
                                                            *reply, KSNewsItem::fromJSON)
                                                      : std::nullopt;
                                   if (items) {
                                       std::lock_guard lock(self->mutex_);
                                       self->news_ = std::move(*items);
                                   } else if (reply) {
                                       KSLog("The news reply is not a list of news items");
                                   }
                                   if (completion) {
                                       completion();
                                   }
                               });
}

std::vector<KSNewsItem> KSNewsRetrieval::news() const {
    std::lock_guard lock(mutex_);
    return news_;
}

}  // namespace corvane
