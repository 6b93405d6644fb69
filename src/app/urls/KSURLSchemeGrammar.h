#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/urls/KSURLSchemeRequest.h"
#include "foundation/Result.h"
#include "foundation/URL.h"

namespace corvane {

// Reads a URL of the application's own scheme, which other applications, web pages and the
// share texts write:
//   corvane://add/ADDRESS or corvane://add/repo=ADDRESS       add a repository
//   corvane://url/https://HOST/api/share#?source=ADDRESS       the same, from a share service
//   corvane://show/shared=Corvane&name=N&bundleid=ID&repo=R    show a package, adding R first
//   corvane://show/bundleid=ID&repo=R, corvane://show/ID       the same
//   corvane://developer/NAME or corvane://developer/developer=NAME ("+" for a blank)
// The host decides, the text after "HOST/" is the argument, taken whole. The URL comes from
// outside: anything that does not read as one of these forms is refused with the reason.
class KSURLSchemeGrammar {
  public:
    static constexpr const char* kErrorDomain = "KSURLSchemeGrammar";
    static constexpr std::string_view kScheme = "corvane";
    // Longer URLs are no link a person or a page writes.
    static constexpr std::size_t kMaximumLength = 4096;

    static foundation::Result<KSURLSchemeRequest> parse(const foundation::URL& url);

    // An address as add and show take it: "https://" in front unless it starts with "http://"
    // or "https://", and a "/" behind.
    static std::string normalisedAddress(std::string_view address);

  private:
    static foundation::Result<KSURLSchemeRequest> parseAdd(std::string_view argument);
    static foundation::Result<KSURLSchemeRequest> parseShareLink(std::string_view argument);
    static foundation::Result<KSURLSchemeRequest> parseShow(std::string_view argument);
    static foundation::Result<KSURLSchemeRequest> parseDeveloper(const foundation::URL& url);
};

}  // namespace corvane
