#include "framework/webservice/KSNewsRetrieval.h"

#include "foundation/SharedInstance.h"

namespace corvane {

std::shared_ptr<KSNewsRetrieval> KSNewsRetrieval::instance() {
    static auto* retrieval = new foundation::SharedInstance<KSNewsRetrieval>(
        [] { return std::make_shared<KSNewsRetrieval>(); });
    return retrieval->pointer();
}

void KSNewsRetrieval::fetchNewsWithCompletionHandler(std::function<void()> completion) {
    news_->fetch(std::move(completion));
}

std::vector<KSNewsItem> KSNewsRetrieval::news() const {
    return news_->records();
}

}  // namespace corvane
