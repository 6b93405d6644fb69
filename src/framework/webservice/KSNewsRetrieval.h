#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/webservice/KSNewsItem.h"

namespace corvane {

// The maker's news.
class KSNewsRetrieval : public std::enable_shared_from_this<KSNewsRetrieval> {
  public:
    static const std::shared_ptr<KSNewsRetrieval>& instance();

    // Fetches the news into news(); a failed fetch (logged) keeps the items of the last one that
    // succeeded. The completion runs on the URL-loading queue either way.
    void fetchNewsWithCompletionHandler(std::function<void()> completion);
    std::vector<KSNewsItem> news() const;

  private:
    mutable std::mutex mutex_;
    std::vector<KSNewsItem> news_;
};

}  // namespace corvane
