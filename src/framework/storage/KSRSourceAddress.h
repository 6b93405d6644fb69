#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The one form a source address is stored in, so that a repository typed twice in different
// ways is found as the same source.
class KSRSourceAddress {
  public:
    // "Repo.Example.org/apt" -> "https://repo.example.org/apt/": surrounding blanks dropped, a
    // missing scheme taken as https, scheme and host in lower case, a trailing slash. Nothing
    // for text that is no http or https address: another scheme, no host, blanks inside, a
    // query or fragment, or user credentials.
    static std::optional<std::string> normalised(std::string_view text);
    // The same location over the other of http and https.
    static std::string withOtherScheme(const std::string& location);
    static bool isPlainHTTP(std::string_view location);
};

}  // namespace corvane
