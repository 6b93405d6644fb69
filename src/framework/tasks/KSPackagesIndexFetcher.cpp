#include "framework/tasks/KSPackagesIndexFetcher.h"

#include <algorithm>
#include <cctype>

#include "foundation/URL.h"
#include "foundation/URLError.h"
#include "framework/apt/StanzaReader.h"
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

bool namesAPackage(std::string_view text) {
    StanzaReader reader(text);
    while (const auto stanza = reader.next()) {
        if (stanza->contains("Package"))
            return true;
    }
    return false;
}

}  // namespace

foundation::Result<KSPackagesIndexFetcher::Index> KSPackagesIndexFetcher::fetch(
    const std::string& location, const std::optional<std::string>& ifModifiedSince,
    const KSBlockingTransfer::Progress& progress) {
    std::optional<foundation::Error> lastFailure;
    for (const auto& form : kForms) {
        bool tryNext = false;
        auto index = fetchForm(location, form, ifModifiedSince, progress, &tryNext);
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
    bool* tryNext) {
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
    auto index = readIndex(reply.data, form);
    if (!index)
        return KSTaskError::forSource(
            KSTaskError::kMalformedIndex,
            std::string(form.fileName) + ": " + index.error().localizedDescription(), location);
    index->fileName = form.fileName;
    if (auto lastModified = reply.response->valueForHTTPHeaderField("Last-Modified");
        lastModified && isSafeHeaderValue(*lastModified))
        index->lastModified = lastModified;
    return index;
}

foundation::Result<KSPackagesIndexFetcher::Index> KSPackagesIndexFetcher::readIndex(
    const foundation::Bytes& body, const Form& form) {
    auto decompressed = decompressedData(body, form.compression, kMaxDecompressedBytes);
    if (!decompressed)
        return decompressed.error();
    Index index;
    index.text.assign(decompressed->begin(), decompressed->end());
    decompressed->clear();
    if (index.text.find('\0') != std::string::npos)
        return KSTaskError::make(KSTaskError::kMalformedIndex, "binary data, not an index");
    // An empty index is a repository with no packages; text without a single package is not
    // an index at all (an error page, say).
    const bool blank = std::ranges::all_of(
        index.text, [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
    if (!blank && !namesAPackage(index.text))
        return KSTaskError::make(KSTaskError::kMalformedIndex, "no package in the index");
    return index;
}

}  // namespace corvane
