#include "foundation/URLComponents.h"

#include <cctype>

namespace foundation {

namespace {

// Only unreserved characters and the sub-delimiters that mean nothing inside a query stay.
std::string encodedQueryPart(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    static constexpr std::string_view kKept = "-._~!$'()*,;:@/?";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || kKept.find(char(c)) != std::string_view::npos) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::string encodedQuery(const std::vector<URLQueryItem>& items) {
    std::string query;
    for (const auto& item : items) {
        if (!query.empty())
            query += '&';
        query += encodedQueryPart(item.name);
        if (item.value)
            query += '=' + encodedQueryPart(*item.value);
    }
    return query;
}

}  // namespace

std::optional<URL> URLComponents::url() const {
    if (port && (*port < 0 || *port > 65535))
        return std::nullopt;
    std::string text = scheme + "://" + host;
    if (port)
        text += ':' + std::to_string(*port);
    text += '/';
    if (!queryItems.empty())
        text += '?' + encodedQuery(queryItems);
    if (fragment)
        text += '#' + encodedQueryPart(*fragment);
    auto url = URL::withString(text);
    if (!url || path.empty() || path == "/")
        return url;
    return url->URLByAppendingPathComponent(path);
}

}  // namespace foundation
