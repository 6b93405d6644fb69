#include "framework/webservice/KSNewsRetrieval.h"

namespace corvane {

const std::shared_ptr<KSNewsRetrieval>& KSNewsRetrieval::instance() {
    static const auto retrieval = std::make_shared<KSNewsRetrieval>();
    return retrieval;
}

void KSNewsRetrieval::fetchNewsWithCompletionHandler(std::function<void()> completion) {
    news_->fetch(std::move(completion));
}

std::vector<KSNewsItem> KSNewsRetrieval::news() const {
    return news_->records();
}

}  // namespace corvane
