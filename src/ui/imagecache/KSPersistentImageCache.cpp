#include "ui/imagecache/KSPersistentImageCache.h"

#include <array>
#include <string_view>

#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/device/KSPaths.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/network/RepositoryRequest.h"
#include "framework/packagemanager/KSKnownRepositories.h"
#include "framework/tasks/KSDataTaskOperation.h"

namespace corvane {

using foundation::FileManager;

namespace {

struct RepositoryIcon {
    // The repository's location without its scheme: host, then path.
    std::string_view key;
    std::string_view image;
};

constexpr long kStatusOK = 200;

std::string_view withoutScheme(std::string_view key) {
    for (std::string_view scheme : {"https://", "http://"})
        if (key.size() >= scheme.size() &&
            foundation::caseInsensitiveEquals(key.substr(0, scheme.size()), scheme))
            return key.substr(scheme.size());
    return key;
}

const std::array<RepositoryIcon, 3> kRepositoryIcons = {{
    {withoutScheme(KSKnownRepositories::kBigBossLocation), "KSCydiaSourceBigBoss.jpg"},
    {withoutScheme(KSKnownRepositories::kVostrelLocation), "KSCydiaSourceVostrel.jpg"},
    {withoutScheme(KSKnownRepositories::kModMyiLocation), "KSCydiaSourceMMI.jpg"},
}};

// "Host/path" with the host in lower case and a "/" after a bare host.
std::string hostAndPath(std::string_view address) {
    const auto slash = address.find('/');
    if (slash == std::string_view::npos)
        return foundation::lowercase(address) + "/";
    return foundation::lowercase(address.substr(0, slash)) + std::string(address.substr(slash));
}

foundation::URLSessionConfiguration fetchConfiguration() {
    auto configuration = RepositoryRequest::noCacheConfigureation();
    configuration.timeoutIntervalForRequest = KSPersistentImageCache::kTimeoutSeconds;
    configuration.maximumResponseBytes = KSPersistentImageCache::kMaximumIconBytes;
    return configuration;
}

std::shared_ptr<foundation::OperationQueue> makeFetchQueue() {
    auto queue = std::make_shared<foundation::OperationQueue>("KSIconFetchQueue");
    queue->setMaxConcurrentOperationCount(KSPersistentImageCache::kMaxConcurrentFetches);
    queue->setQualityOfService(foundation::OperationQueue::QualityOfService::Background);
    return queue;
}

std::shared_ptr<uikit::Image> decodedIcon(
    const std::optional<foundation::Bytes>& data,
    const std::optional<foundation::HTTPURLResponse>& response,
    const std::optional<foundation::Error>& error) {
    if (error || !response || response->statusCode != kStatusOK || !data)
        return nullptr;
    auto icon = uikit::Image::fromData(*data);
    return icon && icon->pixelWidth() > 0 ? icon : nullptr;
}

}  // namespace

KSPersistentImageCache::KSPersistentImageCache()
    : iconFetchQueue_(makeFetchQueue()),
      iconFetchSession_(std::make_shared<foundation::URLSession>(fetchConfiguration())) {
    loadDefaultIconsIfNeeded(true);
}

std::string KSPersistentImageCache::overrideKeyForKey(const std::string& key) {
    const std::string address = hostAndPath(withoutScheme(key));
    for (const auto& repository : kRepositoryIcons)
        if (foundation::hasPrefix(address, repository.key))
            return std::string(repository.key);
    return key;
}

std::string KSPersistentImageCache::fileNameForKey(const std::string& key) {
    return "Icon-" + foundation::sha256Hex(overrideKeyForKey(key));
}

std::string KSPersistentImageCache::filePathForKey(const std::string& key) {
    return foundation::appendingPathComponent(KSPaths::iconCacheDirectory(), fileNameForKey(key));
}

std::shared_ptr<uikit::Image> KSPersistentImageCache::imageForKey(const std::string& key,
                                                                  Completion completion) {
    const std::string normalisedKey = overrideKeyForKey(key);
    if (auto image = objectForKey(normalisedKey))
        return image;
    if (auto image = imageFromDisk(normalisedKey))
        return image;
    loadDefaultIconsIfNeeded(false);
    fetch(key, normalisedKey, std::move(completion));
    return defaultIcon();
}

void KSPersistentImageCache::setImage(const std::shared_ptr<uikit::Image>& image,
                                      const std::string& key) {
    if (!image)
        return;
    const std::string normalisedKey = overrideKeyForKey(key);
    storeInMemory(normalisedKey, image);
    saveImageToDisk(*image, normalisedKey);
}

std::shared_ptr<uikit::Image> KSPersistentImageCache::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto found = images_.find(overrideKeyForKey(key));
    return found == images_.end() ? nullptr : found->second;
}

void KSPersistentImageCache::removeObjectForKey(const std::string& key) {
    const std::string normalisedKey = overrideKeyForKey(key);
    {
        std::lock_guard lock(mutex_);
        images_.erase(normalisedKey);
        failedKeys_.erase(normalisedKey);
    }
    const std::string path = filePathForKey(normalisedKey);
    if (FileManager::fileExists(path))
        if (auto removed = FileManager::removeItem(path); !removed.ok())
            KSLog("Could not remove a cached icon: %s", removed.error().localizedDescription());
}

void KSPersistentImageCache::loadDefaultIconsIfNeeded(bool force) {
    auto load = [this, force](std::string_view key, std::string_view imageName) {
        if (!force && objectForKey(std::string(key)))
            return;
        // The bundle holds these already; they stay out of the cache folder.
        if (auto image = uikit::Image::named(std::string(imageName)))
            storeInMemory(std::string(key), image);
    };
    for (const auto& repository : kRepositoryIcons)
        load(repository.key, repository.image);
    load(kDefaultIconKey, kDefaultIconImage);
}

std::shared_ptr<uikit::Image> KSPersistentImageCache::defaultIcon() const {
    return objectForKey(kDefaultIconKey);
}

std::shared_ptr<uikit::Image> KSPersistentImageCache::imageFromDisk(
    const std::string& normalisedKey) {
    const std::string path = filePathForKey(normalisedKey);
    if (!FileManager::fileExists(path))
        return nullptr;
    auto image = uikit::Image::fromFile(path);
    if (image)
        storeInMemory(normalisedKey, image);
    return image;
}

void KSPersistentImageCache::fetch(const std::string& key, const std::string& normalisedKey,
                                   Completion completion) {
    const auto url = KSFetchableURL::fromString(key);
    if (!url)
        return;
    {
        std::lock_guard lock(mutex_);
        if (failedKeys_.contains(normalisedKey))
            return;
        auto [waiting, isNew] = pending_.try_emplace(normalisedKey);
        if (completion)
            waiting->second.push_back(std::move(completion));
        if (!isNew)
            return;
    }
    std::weak_ptr<KSPersistentImageCache> weakSelf = weak_from_this();
    iconFetchQueue_->addOperation(std::make_shared<KSDataTaskOperation>(
        iconFetchSession_, *url, [weakSelf, normalisedKey](auto data, auto response, auto error) {
            if (auto self = weakSelf.lock())
                self->fetchDidEnd(normalisedKey, decodedIcon(data, response, error));
        }));
}

void KSPersistentImageCache::fetchDidEnd(const std::string& normalisedKey,
                                         const std::shared_ptr<uikit::Image>& icon) {
    std::vector<Completion> completions;
    {
        std::lock_guard lock(mutex_);
        completions = std::move(pending_[normalisedKey]);
        pending_.erase(normalisedKey);
        if (!icon)
            failedKeys_.insert(normalisedKey);
    }
    if (!icon) {
        KSLog("The icon for %s could not be fetched", normalisedKey);
        return;
    }
    setImage(icon, normalisedKey);
    for (const auto& completion : completions)
        completion(icon);
}

void KSPersistentImageCache::saveImageToDisk(const uikit::Image& image,
                                             const std::string& normalisedKey) {
    const auto png = image.pngData();
    if (!png)
        return;
    if (auto made = FileManager::createDirectory(KSPaths::iconCacheDirectory()); !made.ok()) {
        KSLog("Could not create the icon cache: %s", made.error().localizedDescription());
        return;
    }
    if (auto written = FileManager::writeAtomically(filePathForKey(normalisedKey), *png);
        !written.ok())
        KSLog("Could not store an icon: %s", written.error().localizedDescription());
}

void KSPersistentImageCache::storeInMemory(const std::string& normalisedKey,
                                           std::shared_ptr<uikit::Image> image) {
    std::lock_guard lock(mutex_);
    failedKeys_.erase(normalisedKey);
    images_[normalisedKey] = std::move(image);
}

}  // namespace corvane
