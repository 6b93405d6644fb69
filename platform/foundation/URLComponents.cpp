#include "foundation/URLComponents.h"

#include "foundation/Strings.h"

namespace foundation {

namespace {

std::string encodedQuery(const std::vector<URLQueryItem>& items) {
    std::string query;
    for (const auto& item : items) {
        if (!query.empty())
            query += '&';
        query += percentEncode(item.name, PercentEncoding::QueryItem);
        if (item.value)
            query += '=' + percentEncode(*item.value, PercentEncoding::QueryItem);
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
        text += '#' + percentEncode(*fragment, PercentEncoding::QueryItem);
    auto url = URL::withString(text);
    if (!url || path.empty() || path == "/")
        return url;
    return url->URLByAppendingPathComponent(path);
}

}  // namespace foundation
