#include "foundation/URL.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

#include "foundation/Strings.h"

namespace foundation {

namespace {

struct CurlURLDeleter {
    void operator()(CURLU* handle) const { curl_url_cleanup(handle); }
};
using CurlURL = std::unique_ptr<CURLU, CurlURLDeleter>;

std::optional<std::string> part(CURLU* handle, CURLUPart which) {
    char* value = nullptr;
    if (curl_url_get(handle, which, &value, 0) != CURLUE_OK || value == nullptr)
        return std::nullopt;
    std::string text(value);
    curl_free(value);
    return text;
}

// The characters of RFC 3986. Anything else (spaces, quotes, braces, bytes beyond ASCII) means
// the text is no URL, as does a "%" that is not followed by two hex digits.
bool isURLText(std::string_view text) {
    static constexpr std::string_view kAllowed = "-._~:/?#[]@!$&'()*+,;=";
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (std::isalnum(static_cast<unsigned char>(c)) ||
            kAllowed.find(c) != std::string_view::npos)
            continue;
        if (c != '%' || i + 2 >= text.size() || !hexDigitValue(text[i + 1]) ||
            !hexDigitValue(text[i + 2]))
            return false;
    }
    return !text.empty();
}

// Length of a leading "scheme:" (without the colon), or 0 when the text starts with none.
std::size_t schemeLength(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == ':')
            return i;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return 0;
    }
    return 0;
}

std::string encodedPath(std::string_view path) {
    std::string encoded;
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string_view::npos)
            slash = path.size();
        encoded += percentEncode(path.substr(start, slash - start), PercentEncoding::PathComponent);
        if (slash < path.size())
            encoded += '/';
        start = slash + 1;
    }
    return encoded;
}

}  // namespace

std::optional<URL> URL::withString(std::string_view text) {
    return parse(text, nullptr);
}

std::optional<URL> URL::withString(std::string_view text, const URL& base) {
    return parse(text, &base);
}

URL URL::fileURL(std::string_view path) {
    std::string absolute = std::filesystem::absolute(std::filesystem::path(path)).string();
    // Every byte outside the allowed set is escaped, so the text always parses.
    return *parse("file://" + encodedPath(absolute), nullptr);
}

std::optional<URL> URL::parse(std::string_view text, const URL* base) {
    if (!isURLText(text))
        return std::nullopt;
    CurlURL handle(curl_url());
    if (!handle)
        return std::nullopt;
    bool relative = base != nullptr && schemeLength(text) == 0;
    if (relative && curl_url_set(handle.get(), CURLUPART_URL, base->absoluteString_.c_str(),
                                 CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return std::nullopt;
    // Text parsed on its own keeps its path as written; a relative reference has its dot
    // segments resolved against the base.
    unsigned flags = CURLU_NON_SUPPORT_SCHEME | (relative ? 0 : CURLU_PATH_AS_IS);
    std::string owned(text);
    if (curl_url_set(handle.get(), CURLUPART_URL, owned.c_str(), flags) != CURLUE_OK)
        return relative ? std::nullopt : opaque(text);

    URL url;
    url.absoluteString_ = relative ? part(handle.get(), CURLUPART_URL).value_or(owned) : owned;
    // Resolving decodes an escaped host ("//s%e1.example/"): bytes beyond ASCII make an address
    // that no later reading or request would take.
    if (relative && !isURLText(url.absoluteString_))
        return std::nullopt;
    url.scheme_ = lowercase(part(handle.get(), CURLUPART_SCHEME).value_or(""));
    url.host_ = part(handle.get(), CURLUPART_HOST).value_or("");
    if (auto port = part(handle.get(), CURLUPART_PORT))
        url.port_ = std::stoi(*port);
    url.encodedPath_ = part(handle.get(), CURLUPART_PATH).value_or("");
    url.query_ = part(handle.get(), CURLUPART_QUERY);
    url.fragment_ = part(handle.get(), CURLUPART_FRAGMENT);
    return url;
}

// "javascript:…", "mailto:…", "about:blank": a scheme and text that names no host or path.
std::optional<URL> URL::opaque(std::string_view text) {
    std::size_t length = schemeLength(text);
    if (length == 0 || length + 1 >= text.size() || text[length + 1] == '/')
        return std::nullopt;
    URL url;
    url.absoluteString_ = std::string(text);
    url.scheme_ = lowercase(text.substr(0, length));
    return url;
}

std::string URL::path() const {
    std::string decoded = percentDecode(encodedPath_).value_or(encodedPath_);
    while (decoded.size() > 1 && decoded.back() == '/')
        decoded.pop_back();
    return decoded;
}

std::vector<std::string> URL::pathComponents() const {
    return foundation::pathComponents(path());
}

std::string URL::lastPathComponent() const {
    return foundation::lastPathComponent(path());
}

std::string URL::pathExtension() const {
    return foundation::pathExtension(path());
}

std::vector<URLQueryItem> URL::queryItems() const {
    std::vector<URLQueryItem> items;
    if (!query_)
        return items;
    for (const auto& pair : split(*query_, "&")) {
        if (pair.empty())
            continue;
        std::size_t equals = pair.find('=');
        std::string name = pair.substr(0, equals);
        URLQueryItem item{percentDecode(name).value_or(name), std::nullopt};
        if (equals != std::string::npos) {
            std::string value = pair.substr(equals + 1);
            item.value = percentDecode(value).value_or(value);
        }
        items.push_back(std::move(item));
    }
    return items;
}

URL URL::URLByAppendingPathComponent(std::string_view component) const {
    if (encodedPath_.empty())  // opaque URLs have no path to extend
        return *this;
    // Spliced into the text rather than rebuilt, so the rest stays exactly as written.
    std::size_t pathEnd = std::min(absoluteString_.find('?'), absoluteString_.find('#'));
    std::string text = absoluteString_.substr(0, pathEnd);
    if (!text.ends_with('/'))
        text += '/';
    text += encodedPath(component.starts_with('/') ? component.substr(1) : component);
    if (pathEnd != std::string::npos)
        text += absoluteString_.substr(pathEnd);
    return withString(text).value_or(*this);
}

bool URL::isWebScheme(std::string_view scheme) {
    // Asked of every request a session starts: compared in place, letter by letter.
    const auto is = [scheme](std::string_view web) {
        return std::ranges::equal(
            scheme, web, [](unsigned char a, unsigned char b) { return std::tolower(a) == b; });
    };
    return is("http") || is("https");
}

bool URL::textHasWebScheme(std::string_view text) {
    const auto end = text.find("://");
    return end != std::string_view::npos && isWebScheme(text.substr(0, end));
}

}  // namespace foundation
