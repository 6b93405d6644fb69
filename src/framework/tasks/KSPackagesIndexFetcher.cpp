#include "framework/tasks/KSPackagesIndexFetcher.h"

#include <algorithm>
#include <cctype>

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

bool isUnreadable(const foundation::Error& error) {
    return error.domain == kDecompressionErrorDomain ||
           (error.domain == KSTaskError::kDomain && error.code == KSTaskError::kMalformedIndex);
}

}  // namespace

foundation::Result<KSPackagesIndexFetcher::Index> KSPackagesIndexFetcher::fetch(
    const std::string& location, const std::optional<std::string>& ifModifiedSince,
    const KSBlockingTransfer::Progress& progress, const Reader& read) {
    std::optional<foundation::Error> lastFailure;
    for (const auto& form : kForms) {
        bool tryNext = false;
        auto index = fetchForm(location, form, ifModifiedSince, progress, read, &tryNext);
        if (index || !tryNext)
            return index;
        lastFailure = index.error();
    }
    return KSTaskError::forSource(
        KSTaskError::kMalformedIndex,
        "The repository offers no readable Packages index (last reason: " +
            lastFailure->localizedDescription() + ").",
        location);
}

foundation::Result<KSPackagesIndexFetcher::Index> KSPackagesIndexFetcher::fetchForm(
    const std::string& location, const Form& form,
    const std::optional<std::string>& ifModifiedSince, const KSBlockingTransfer::Progress& progress,
    const Reader& read, bool* tryNext) {
    const auto url = foundation::URL::withString(location + std::string(form.fileName));
    if (!url)
        return KSTaskError::forSource(KSTaskError::kNetwork, "Not a valid address.", location);
    auto request = RepositoryRequest::requestWithURL(*url);
    if (ifModifiedSince && isSafeHeaderValue(*ifModifiedSince))
        request.setValue(*ifModifiedSince, "If-Modified-Since");

    auto reply = transfer_.fetchData(std::move(request), progress);
    if (reply.error) {
        *tryNext = !isTransportFailure(*reply.error);
        return KSTaskError::forSource(KSTaskError::kNetwork, reply.error->localizedDescription(),
                                      location);
    }
    if (reply.response->statusCode == 304) {
        Index unchanged;
        unchanged.notModified = true;
        unchanged.fileName = form.fileName;
        unchanged.lastModified = ifModifiedSince;
        return unchanged;
    }
    *tryNext = true;
    if (reply.response->statusCode != 200)
        return KSTaskError::forSource(KSTaskError::kNetwork,
                                      std::string(form.fileName) + ": HTTP status " +
                                          std::to_string(reply.response->statusCode),
                                      location);
    if (auto readable = read(std::move(reply.data), form.compression); !readable) {
        *tryNext = isUnreadable(readable.error());
        if (!*tryNext)
            return readable.error();
        return KSTaskError::forSource(
            KSTaskError::kMalformedIndex,
            std::string(form.fileName) + ": " + readable.error().localizedDescription(), location);
    }
    Index index;
    index.fileName = form.fileName;
    if (auto lastModified = reply.response->valueForHTTPHeaderField("Last-Modified");
        lastModified && isSafeHeaderValue(*lastModified))
        index.lastModified = lastModified;
    return index;
}

}  // namespace corvane
