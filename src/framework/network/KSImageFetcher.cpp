#include "framework/network/KSImageFetcher.h"

#include <atomic>

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "foundation/URLError.h"
#include "foundation/URLSession.h"
#include "framework/network/KSFetchableURL.h"

namespace corvane {

namespace {

using Outcome = KSImageFetcher::Outcome;

std::atomic<double>& timeout() {
    static std::atomic<double> seconds = KSImageFetcher::kTimeoutSeconds;
    return seconds;
}

foundation::URLSession& imageSession() {
    static foundation::URLSession session([] {
        auto configuration = foundation::URLSessionConfiguration::defaultSessionConfiguration();
        configuration.maximumResponseBytes = KSImageFetcher::kMaximumBytes;
        configuration.timeoutIntervalForRequest = KSImageFetcher::kTimeoutSeconds;
        return configuration;
    }());
    return session;
}

// The address itself is at fault: asking again gives the same answer.
bool isDefiniteTransportError(const foundation::Error& error) {
    if (error.domain != foundation::URLError::kDomain)
        return false;
    switch (error.code) {
        case foundation::URLError::BadURL:
        case foundation::URLError::UnsupportedURL:
        case foundation::URLError::DataLengthExceedsMaximum:
        case foundation::URLError::HTTPTooManyRedirects:
            return true;
        default:
            return false;
    }
}

struct InOrder {
    std::vector<std::string> addresses;
    std::size_t next = 0;
    std::vector<std::shared_ptr<uikit::Image>> images;
    KSImageFetcher::ImagesCompletion completion;
};

void fetchNext(std::shared_ptr<InOrder> batch) {
    if (batch->next == batch->addresses.size()) {
        foundation::runOnMain([batch] { batch->completion(std::move(batch->images)); });
        return;
    }
    KSImageFetcher::fetch(batch->addresses[batch->next++], [batch](KSImageFetcher::Result result) {
        if (result.image)
            batch->images.push_back(std::move(result.image));
        fetchNext(batch);
    });
}

}  // namespace

double KSImageFetcher::timeoutSeconds() {
    return timeout();
}

void KSImageFetcher::setTimeoutSeconds(double seconds) {
    timeout() = seconds;
}

KSImageFetcher::Result KSImageFetcher::resultOf(
    const std::optional<foundation::URLSessionDataTask::Data>& data,
    const std::optional<foundation::HTTPURLResponse>& response,
    const std::optional<foundation::Error>& error) {
    if (error)
        return {isDefiniteTransportError(*error) ? Outcome::definiteFailure
                                                 : Outcome::temporaryFailure};
    const long status = response ? response->statusCode : 0;
    if (status == 404 || status == 410)
        return {Outcome::definiteFailure};
    if (status < 200 || status >= 300 || !data)
        return {Outcome::temporaryFailure};
    auto image = uikit::Image::fromData(*data);
    if (!image)
        return {Outcome::definiteFailure};
    return {Outcome::image, std::move(image)};
}

void KSImageFetcher::fetch(std::string_view address, Completion completion) {
    auto url = KSFetchableURL::fromString(address);
    if (!url) {
        KSLog("Not fetching the image \"%@\": not an http or https address", std::string(address));
        foundation::runOnDefaultQueue([completion] { completion({Outcome::definiteFailure}); });
        return;
    }
    foundation::URLRequest request(*url);
    request.timeoutInterval = timeoutSeconds();
    imageSession()
        .dataTaskWithRequest(
            std::move(request),
            [completion, address = url->absoluteString()](auto data, auto response, auto error) {
                Result result = resultOf(data, response, error);
                if (result.outcome != Outcome::image)
                    KSLog("No image came from %@ (%@)", address,
                          error ? error->localizedDescription()
                                : "status " + std::to_string(response ? response->statusCode : 0));
                completion(std::move(result));
            })
        ->resume();
}

void KSImageFetcher::fetchInOrder(std::vector<std::string> addresses, ImagesCompletion completion) {
    auto batch = std::make_shared<InOrder>();
    batch->addresses = std::move(addresses);
    batch->completion = std::move(completion);
    fetchNext(std::move(batch));
}

}  // namespace corvane
