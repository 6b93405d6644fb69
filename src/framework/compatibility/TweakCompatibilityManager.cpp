#include "framework/compatibility/TweakCompatibilityManager.h"

#include <chrono>
#include <cstdlib>

#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/SharedInstance.h"
#include "foundation/URL.h"
#include "foundation/URLSession.h"
#include "framework/device/KSPaths.h"
#include "framework/device/KSPlatform.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/network/RepositoryRequest.h"

namespace corvane {

using foundation::FileManager;

namespace {

double secondsSince1970() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

bool isVersionText(const std::string& version) {
    return !version.empty() && version.find_first_not_of("0123456789.") == std::string::npos;
}

bool isCacheFresh(const std::string& path) {
    auto modified = FileManager::modificationDate(path);
    if (!modified) {
        return false;
    }
    double age = secondsSince1970() - *modified;
    return age >= 0 && age < TweakCompatibilityManager::kCacheLifetimeSeconds;
}

void finish(std::function<void()> completion) {
    if (completion) {
        foundation::runAsyncOnMain(std::move(completion));
    }
}

}  // namespace

std::shared_ptr<TweakCompatibilityManager> TweakCompatibilityManager::sharedManager() {
    static auto* manager = new foundation::SharedInstance<TweakCompatibilityManager>(
        [] { return std::make_shared<TweakCompatibilityManager>(); });
    return manager->pointer();
}

std::optional<std::string> TweakCompatibilityManager::addressFromEnvironment() {
    const char* pattern = std::getenv(kAddressEnvironmentVariable);
    if (!pattern || !*pattern) {
        return std::nullopt;
    }
    return pattern;
}

std::optional<std::string> TweakCompatibilityManager::cacheFile(
    const std::string& firmwareVersion) {
    if (!isVersionText(firmwareVersion)) {
        return std::nullopt;
    }
    return KSPaths::dataPath("TweakCompatibility-" + firmwareVersion + ".json");
}

void TweakCompatibilityManager::prepare(std::function<void()> completion) {
    const std::string firmware = KSPlatform::firmwareVersion();
    auto cachePath = cacheFile(firmware);
    bool loaded = cachePath && loadCache(*cachePath);
    if (!cachePath || !addressPattern_ || (loaded && isCacheFresh(*cachePath))) {
        finish(std::move(completion));
        return;
    }
    fetch(foundation::format(*addressPattern_, firmware), *cachePath, std::move(completion));
}

bool TweakCompatibilityManager::loadCache(const std::string& path) {
    if (!FileManager::fileExists(path)) {
        return false;
    }
    auto data = FileManager::readFile(path);
    auto document = data ? CompatibilityDocument::parse(*data)
                         : foundation::Result<CompatibilityDocument>(data.error());
    if (!document) {
        KSLog("The cached compatibility document %@ is unusable: %@", path,
              document.error().localizedDescription());
        return false;
    }
    std::lock_guard lock(mutex_);
    document_ = std::make_shared<const CompatibilityDocument>(std::move(*document));
    return true;
}

void TweakCompatibilityManager::fetch(const std::string& address, const std::string& cachePath,
                                      std::function<void()> completion) {
    auto url = foundation::URL::withString(address);
    if (!url || !KSFetchableURL::isFetchable(*url)) {
        KSLog("The compatibility address %@ is not an http or https address", address);
        finish(std::move(completion));
        return;
    }
    auto configuration = RepositoryRequest::noCacheConfigureation();
    configuration.maximumResponseBytes = CompatibilityDocument::kMaximumBytes;
    auto session = std::make_shared<foundation::URLSession>(configuration);
    foundation::URLRequest request(*url);
    request.timeoutInterval = kTimeoutSeconds;
    auto self = shared_from_this();
    session
        ->dataTaskWithRequest(
            request,
            [self, session, cachePath, completion = std::move(completion)](
                std::optional<foundation::Bytes> data,
                std::optional<foundation::HTTPURLResponse> response,
                std::optional<foundation::Error> error) mutable {
                if (error || !data || !response || response->statusCode != 200) {
                    KSLog("The compatibility document could not be fetched: %@",
                          error ? error->localizedDescription()
                                : foundation::format("status %d",
                                                     response ? response->statusCode : 0));
                } else {
                    self->accept(*data, cachePath);
                }
                if (completion) {
                    foundation::runOnMain(std::move(completion));
                }
            })
        ->resume();
}

void TweakCompatibilityManager::accept(const foundation::Bytes& data,
                                       const std::string& cachePath) {
    auto document = CompatibilityDocument::parse(data);
    if (!document) {
        KSLog("The fetched compatibility document is refused: %@",
              document.error().localizedDescription());
        return;
    }
    auto written = FileManager::createDirectory(KSPaths::dataDirectory());
    if (written)
        written = FileManager::writeAtomically(cachePath, data);
    if (!written) {
        KSLog("The compatibility document could not be cached: %@",
              written.error().localizedDescription());
    }
    std::lock_guard lock(mutex_);
    document_ = std::make_shared<const CompatibilityDocument>(std::move(*document));
}

TweakCompatibilityStatus TweakCompatibilityManager::statusForBundle(
    const std::string& identifier, const std::string& version) const {
    std::lock_guard lock(mutex_);
    return document_ ? document_->statusFor(identifier, version)
                     : TweakCompatibilityStatus::Unknown;
}

uikit::Color TweakCompatibilityManager::colorForBundle(const std::string& identifier,
                                                       const std::string& version) const {
    switch (statusForBundle(identifier, version)) {
        case TweakCompatibilityStatus::Working:
            return uikit::Color::systemGreen();
        case TweakCompatibilityStatus::NotWorking:
            return uikit::Color::systemRed();
        case TweakCompatibilityStatus::Unknown:
            break;
    }
    return uikit::Color::systemYellow();
}

}  // namespace corvane
