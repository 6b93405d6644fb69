// Links of the application's own scheme, as other applications and web pages hand them over.
// Whatever the text, the grammar answers with a request or a refusal; a request never carries
// an identifier that is no package name, and an address it hands on reads as http or https.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "app/urls/KSURLSchemeGrammar.h"
#include "foundation/Strings.h"
#include "framework/debian/DebianGrammar.h"

namespace {

using corvane::KSURLSchemeGrammar;
using corvane::KSURLSchemeRequest;

// Schemes are read ignoring case: "HTTPS://" is as good as "https://".
bool readsAsWebAddress(const std::string& address) {
    const auto head = foundation::lowercase(address.substr(0, 8));
    return foundation::hasPrefix(head, "http://") || foundation::hasPrefix(head, "https://");
}

void checkRequest(const KSURLSchemeRequest& request) {
    switch (request.action) {
        case KSURLSchemeRequest::Action::addRepository:
            FUZZ_CHECK(readsAsWebAddress(request.repository));
            break;
        case KSURLSchemeRequest::Action::showPackage:
            FUZZ_CHECK(corvane::isValidPackageName(request.packageIdentifier));
            FUZZ_CHECK(request.repository.empty() || readsAsWebAddress(request.repository));
            break;
        case KSURLSchemeRequest::Action::showDeveloper:
            FUZZ_CHECK(!request.developerName.empty());
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto url = foundation::URL::withString(text);
    if (!url)
        return 0;
    const auto request = KSURLSchemeGrammar::parse(*url);
    if (request)
        checkRequest(*request);
    const auto address = KSURLSchemeGrammar::normalisedAddress(text);
    FUZZ_CHECK(readsAsWebAddress(address) && foundation::hasSuffix(address, "/"));
    return 0;
}
