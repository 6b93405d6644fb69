#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/webservice/KSNewsItem.h"
#include "framework/webservice/KSWebServiceList.h"

namespace corvane {

// The maker's news.
class KSNewsRetrieval {
  public:
    static std::shared_ptr<KSNewsRetrieval> instance();

    // Fetches the news into news(); a failed fetch (logged) keeps the items of the last one that
    // succeeded. The completion runs on the URL-loading queue either way.
    void fetchNewsWithCompletionHandler(std::function<void()> completion);
    std::vector<KSNewsItem> news() const;

  private:
    std::shared_ptr<KSWebServiceList<KSNewsItem>> news_ =
        std::make_shared<KSWebServiceList<KSNewsItem>>("news", KSNewsItem::fromJSON);
};

}  // namespace corvane
