#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "foundation/OperationQueue.h"
#include "foundation/URLSession.h"
#include "uikit/Image.h"

namespace corvane {

// Repository icons by icon address or repository location: kept in memory, backed by PNG files
// in "IconCache" under the data directory, and fetched in the background when neither has them.
// Three well-known repositories and the default source icon come from the bundle. Any thread.
//
// A fetch that fails is remembered for the life of the cache only, so that the key is not asked
// again and the default icon stands in, while a good icon already on disk is never replaced.
// Create it with std::make_shared: fetches hold it weakly.
class KSPersistentImageCache : public std::enable_shared_from_this<KSPersistentImageCache> {
  public:
    using Completion = std::function<void(const std::shared_ptr<uikit::Image>& image)>;

    static constexpr const char* kDefaultIconKey = "source_icon_default";
    static constexpr const char* kDefaultIconImage = "KSCydiaSource.png";
    static constexpr int kMaxConcurrentFetches = 5;
    static constexpr double kTimeoutSeconds = 10;
    static constexpr std::int64_t kMaximumIconBytes = std::int64_t{2} << 20;

    // Loads the bundle icons and makes the fetch queue "KSIconFetchQueue".
    KSPersistentImageCache();

    const std::shared_ptr<foundation::URLSession>& iconFetchSession() const {
        return iconFetchSession_;
    }
    const std::shared_ptr<foundation::OperationQueue>& iconFetchQueue() const {
        return iconFetchQueue_;
    }

    // The icon from memory, else from its file (kept in memory afterwards). Else the default
    // icon now, while an http or https key is fetched once; the completion hears the fetched
    // icon on the fetch session's delegate queue, and is not called when the fetch fails.
    std::shared_ptr<uikit::Image> imageForKey(const std::string& key, Completion completion = {});
    // Stores in memory and writes the file; a null image is ignored.
    void setImage(const std::shared_ptr<uikit::Image>& image, const std::string& key);
    // Memory only.
    std::shared_ptr<uikit::Image> objectForKey(const std::string& key) const;
    // Forgets the key in memory and on disk, a remembered failure included.
    void removeObjectForKey(const std::string& key);

    // A key of one of the three repositories (their location or an address below it, with or
    // without "http://" or "https://") becomes that repository's key, matched by exact host;
    // any other key stays as it is.
    static std::string overrideKeyForKey(const std::string& key);
    // "Icon-" and the SHA-256 of the normalised key.
    static std::string fileNameForKey(const std::string& key);
    static std::string filePathForKey(const std::string& key);

  private:
    void loadDefaultIconsIfNeeded(bool force);
    std::shared_ptr<uikit::Image> defaultIcon() const;
    std::shared_ptr<uikit::Image> imageFromDisk(const std::string& normalisedKey);
    void fetch(const std::string& key, const std::string& normalisedKey, Completion completion);
    void fetchDidEnd(const std::string& normalisedKey, const std::shared_ptr<uikit::Image>& icon);
    static void saveImageToDisk(const uikit::Image& image, const std::string& normalisedKey);
    void storeInMemory(const std::string& normalisedKey, std::shared_ptr<uikit::Image> image);

    const std::shared_ptr<foundation::OperationQueue> iconFetchQueue_;
    const std::shared_ptr<foundation::URLSession> iconFetchSession_;
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<uikit::Image>> images_;
    std::set<std::string> failedKeys_;
    // Normalised key of each fetch under way -> the completions waiting for it.
    std::map<std::string, std::vector<Completion>> pending_;
};

}  // namespace corvane
