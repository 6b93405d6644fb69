#include "framework/tasks/KSPackagesIndexFetcher.h"

#include <algorithm>
#include <cctype>

#include "foundation/FileManager.h"
#include "foundation/URL.h"
#include "foundation/URLError.h"
#include "framework/network/RepositoryRequest.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane {

namespace {

constexpr std::size_t kMaxHeaderValueLength = 128;

// A header value that goes back to the server: printable ASCII only, so that no line break
// from a reply can smuggle a header into the next request.
bool isSafeHeaderValue(const std::string& value) {
    return !value.empty() && value.size() <= kMaxHeaderValueLength &&
           std::ranges::all_of(value, [](char c) { return c >= 0x20 && c < 0x7F; });
}

bool isTransportFailure(const foundation::Error& error) {
    return error.domain == foundation::URLError::kDomain;
}

std::string withoutFinalStop(std::string text) {
    if (text.ends_with('.'))
        text.pop_back();
    return text;
}

bool isUnreadable(const foundation::Error& error) {
    return error.domain == kDecompressionErrorDomain ||
           (error.domain == KSTaskError::kDomain && error.code == KSTaskError::kMalformedIndex);
}

}  // namespace

foundation::Result<KSPackagesIndexFetcher::Index> KSPackagesIndexFetcher::fetch(
    const std::string& location, const std::optional<std::string>& ifModifiedSince,
    const KSBlockingTransfer::Progress& progress, const Reader& read) {
    std::string reasons;
    for (const auto& form : kForms) {
        auto attempt = fetchForm(location, form, ifModifiedSince, progress, read);
        if (attempt.index)
            return std::move(*attempt.index);
        if (attempt.end == End::notTheRepository)
            return std::move(attempt.reason);
        reasons += (reasons.empty() ? "" : "; ") + std::string(form.fileName) + ": " +
                   withoutFinalStop(attempt.reason.localizedDescription());
        if (attempt.end == End::unreachable)
            return KSTaskError::forSource(KSTaskError::kNetwork, reasons + ".", location);
    }
    return KSTaskError::forSource(
        KSTaskError::kMalformedIndex,
        "The repository offers no readable Packages index (" + reasons + ").", location);
}

KSPackagesIndexFetcher::Attempt KSPackagesIndexFetcher::fetchForm(
    const std::string& location, const Form& form,
    const std::optional<std::string>& ifModifiedSince, const KSBlockingTransfer::Progress& progress,
    const Reader& read) {
    const auto url = foundation::URL::withString(location + std::string(form.fileName));
    if (!url)
        return {End::unreachable,
                foundation::Error::make(KSTaskError::kDomain, KSTaskError::kNetwork,
                                        "not a valid address")};
    auto request = RepositoryRequest::requestWithURL(*url);
    if (ifModifiedSince && isSafeHeaderValue(*ifModifiedSince))
        request.setValue(*ifModifiedSince, "If-Modified-Since");

    auto reply = transfer_.download(std::move(request), downloadFile_, progress);
    if (reply.error)
        return {isTransportFailure(*reply.error) ? End::unreachable : End::tryNext, *reply.error};
    if (reply.response->statusCode == 304) {
        Index unchanged;
        unchanged.notModified = true;
        unchanged.fileName = form.fileName;
        unchanged.lastModified = ifModifiedSince;
        return {.index = std::move(unchanged)};
    }
    if (reply.response->statusCode != 200)
        return {End::tryNext, foundation::Error::make(
                                  KSTaskError::kDomain, KSTaskError::kNetwork,
                                  "HTTP status " + std::to_string(reply.response->statusCode))};
    const auto readable = read(downloadFile_, form.compression);
    // Only the reader needed it; one left behind goes with the next download.
    (void)foundation::FileManager::removeItem(downloadFile_);
    if (!readable)
        return {isUnreadable(readable.error()) ? End::tryNext : End::notTheRepository,
                readable.error()};
    Index index;
    index.fileName = form.fileName;
    if (auto lastModified = reply.response->valueForHTTPHeaderField("Last-Modified");
        lastModified && isSafeHeaderValue(*lastModified))
        index.lastModified = lastModified;
    return {.index = std::move(index)};
}

}  // namespace corvane
