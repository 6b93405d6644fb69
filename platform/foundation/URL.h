#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/URLQueryItem.h"

namespace foundation {

// An absolute URL, parsed once. Hierarchical URLs ("scheme://host/path?query#fragment") are
// parsed by libcurl; opaque ones ("mailto:a@b.c", "about:blank") keep only their scheme.
// Path, path components and query items are percent-decoded; query and fragment are as written.
class URL {
  public:
    // nullopt for text that is no absolute URL: no scheme, spaces, characters a URL cannot
    // hold, a broken "%" escape.
    static std::optional<URL> withString(std::string_view text);
    // Resolves text against base the way a link in a page at base is followed.
    static std::optional<URL> withString(std::string_view text, const URL& base);
    // A file URL for a local path; a relative path is taken from the working directory.
    static URL fileURL(std::string_view path);

    const std::string& absoluteString() const { return absoluteString_; }
    const std::string& scheme() const { return scheme_; }  // lower case
    const std::string& host() const { return host_; }      // empty when there is none
    std::optional<int> port() const { return port_; }      // only when written
    // Decoded, without a trailing slash except for "/" itself.
    std::string path() const;
    // "/a/b" -> {"/", "a", "b"}.
    std::vector<std::string> pathComponents() const;
    std::string lastPathComponent() const;
    std::string pathExtension() const;
    const std::optional<std::string>& query() const { return query_; }
    std::vector<URLQueryItem> queryItems() const;
    const std::optional<std::string>& fragment() const { return fragment_; }
    bool isFileURL() const { return scheme_ == "file"; }
    // "http" or "https": the only schemes ever fetched from or opened outside.
    bool hasWebScheme() const { return isWebScheme(scheme_); }
    // scheme, in any case, is one of the web's.
    static bool isWebScheme(std::string_view scheme);
    // text is written "http://…" or "https://…", in any case, whether or not the rest parses.
    static bool textHasWebScheme(std::string_view text);

    // The URL with one more path segment; query and fragment stay.
    URL URLByAppendingPathComponent(std::string_view component) const;

    bool operator==(const URL& other) const { return absoluteString_ == other.absoluteString_; }

  private:
    URL() = default;
    static std::optional<URL> parse(std::string_view text, const URL* base);
    static std::optional<URL> opaque(std::string_view text);

    std::string absoluteString_;
    std::string scheme_;
    std::string host_;
    std::optional<int> port_;
    std::string encodedPath_;
    std::optional<std::string> query_;
    std::optional<std::string> fragment_;
};

}  // namespace foundation
