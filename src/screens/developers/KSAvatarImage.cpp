#include "screens/developers/KSAvatarImage.h"

#include "foundation/Dispatch.h"
#include "foundation/URLSession.h"
#include "framework/depictions/KSFetchableURL.h"

namespace corvane {

void KSAvatarImage::fetch(const std::string& address, Completion completion) {
    const auto url = KSFetchableURL::fromString(address);
    if (!url) {
        foundation::runAsyncOnMain([completion = std::move(completion)] { completion(nullptr); });
        return;
    }
    auto configuration = foundation::URLSessionConfiguration::ephemeralSessionConfiguration();
    configuration.maximumResponseBytes = kMaximumBytes;
    configuration.timeoutIntervalForRequest = kTimeoutSeconds;
    foundation::URLSession(configuration)
        .dataTaskWithURL(*url,
                         [completion = std::move(completion)](auto data, auto response, auto) {
                             const bool answered = data && response &&
                                                   response->statusCode >= 200 &&
                                                   response->statusCode < 300;
                             auto image = answered ? uikit::Image::fromData(*data) : nullptr;
                             foundation::runOnMain([completion, image] { completion(image); });
                         })
        ->resume();
}

}  // namespace corvane
