#include "framework/icons/KSIconProvider.h"

#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/SharedInstance.h"
#include "foundation/Strings.h"
#include "framework/icons/KSIconFetchOperation.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRNotifications.h"

namespace corvane {

using foundation::FileManager;

namespace {

std::shared_ptr<foundation::OperationQueue> makeFetchQueue() {
    auto queue = std::make_shared<foundation::OperationQueue>("Icon fetches");
    queue->setMaxConcurrentOperationCount(KSIconProvider::kMaxConcurrentFetches);
    return queue;
}

foundation::URLSessionConfiguration fetchConfiguration() {
    auto configuration = foundation::URLSessionConfiguration::ephemeralSessionConfiguration();
    configuration.maximumResponseBytes = KSIconProvider::kMaximumIconBytes;
    configuration.timeoutIntervalForResource = KSIconProvider::kTimeoutSeconds;
    return configuration;
}

void announce(const std::set<std::string>& identifiers) {
    foundation::runOnMain([identifiers] {
        for (const auto& identifier : identifiers)
            foundation::NotificationCenter::defaultCenter().post(
                KSRPackageInfoIconChangedNotification, identifier);
    });
}

}  // namespace

std::shared_ptr<KSIconProvider> KSIconProvider::sharedProvider() {
    static auto* provider = new foundation::SharedInstance<KSIconProvider>(
        [] { return std::make_shared<KSIconProvider>(); }, "icon fetches",
        [](KSIconProvider& ending) {
            ending.fetchQueue_->cancelAllOperations();
            return ending.fetchQueue_->operationCount() == 0;
        });
    return provider->pointer();
}

std::shared_ptr<uikit::Image> KSIconProvider::packageIconForIdentifier(
    const std::string& identifier) {
    return sharedProvider()->iconForIdentifier(identifier);
}

void KSIconProvider::registerWithPackageManager() {
    KSRPackageManager::sharedPackageManager().packages().setIconFetcher(sharedProvider());
}

KSIconProvider::KSIconProvider()
    : fetchQueue_(makeFetchQueue()),
      session_(std::make_shared<foundation::URLSession>(fetchConfiguration())) {}

std::shared_ptr<uikit::Image> KSIconProvider::iconForIdentifier(const std::string& identifier) {
    const auto record = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
    if (record && foundation::isPresentText(record->iconURL)) {
        const auto path = record->iconPath();
        if (auto icon = cachedIcon(path))
            return icon;
        fetchIcon(identifier, *record->iconURL, path);
    }
    return KSRPackageManager::sharedPackageManager().packages().getCategoryIconForIdentifier(
        identifier);
}

void KSIconProvider::fetchIcon(const std::string& identifier, const std::string& iconURL,
                               const std::string& destinationPath) {
    std::lock_guard lock(mutex_);
    if (failedURLs_.contains(iconURL))
        return;
    if (auto waiting = pending_.find(iconURL); waiting != pending_.end()) {
        waiting->second.insert(identifier);
        return;
    }
    const auto url = KSFetchableURL::fromString(iconURL);
    if (!url) {
        KSLog("Not fetching the icon of %s from %s", identifier, iconURL);
        failedURLs_.insert(iconURL);
        return;
    }
    pending_[iconURL].insert(identifier);
    auto self = shared_from_this();
    fetchQueue_->addOperation(std::make_shared<KSIconFetchOperation>(
        session_, *url, [self, iconURL, destinationPath](const auto& body) {
            self->store(iconURL, destinationPath, body);
        }));
}

std::shared_ptr<uikit::Image> KSIconProvider::cachedIcon(const std::string& path) {
    {
        std::lock_guard lock(mutex_);
        if (auto icon = memory_.icon(path))
            return icon;
    }
    if (!FileManager::fileExists(path))
        return nullptr;
    auto icon = uikit::Image::fromFile(path);
    if (icon) {
        std::lock_guard lock(mutex_);
        memory_.setIcon(path, icon);
    }
    return icon;
}

void KSIconProvider::store(const std::string& iconURL, const std::string& destinationPath,
                           const std::optional<foundation::Bytes>& body) {
    auto icon = writtenIcon(destinationPath, body);
    std::set<std::string> identifiers;
    {
        std::lock_guard lock(mutex_);
        identifiers = std::move(pending_[iconURL]);
        pending_.erase(iconURL);
        if (icon)
            memory_.setIcon(destinationPath, icon);
        else
            failedURLs_.insert(iconURL);
    }
    if (icon)
        announce(identifiers);
    else
        KSLog("The icon at %s could not be fetched", iconURL);
}

std::shared_ptr<uikit::Image> KSIconProvider::writtenIcon(
    const std::string& destinationPath, const std::optional<foundation::Bytes>& body) {
    auto icon = body ? uikit::Image::fromData(*body) : nullptr;
    if (!icon)
        return nullptr;
    auto written =
        FileManager::createDirectory(foundation::deletingLastPathComponent(destinationPath));
    if (written)
        written = FileManager::writeAtomically(destinationPath, *body);
    if (!written) {
        KSLog("Could not store an icon: %s", written.error().localizedDescription());
        return nullptr;
    }
    return icon;
}

}  // namespace corvane
