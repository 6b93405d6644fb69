// Depiction pages of the three HTML layouts: the page parser and every reading of names,
// descriptions, changelogs, links and screenshots, with the addresses they resolve.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "FetchableAddress.h"
#include "FuzzCheck.h"
#include "framework/depictions/KSBigBossLayout.h"
#include "framework/depictions/KSDepictionsParser.h"
#include "framework/depictions/KSPellithLayout.h"
#include "framework/depictions/KSVostrelLayout.h"

namespace {

using namespace corvane;

void checkAddresses(const std::vector<std::string>& addresses) {
    for (const auto& address : addresses)
        FUZZ_CHECK(isFetchableAddress(address));
}

void checkLink(const std::optional<foundation::URL>& link) {
    FUZZ_CHECK(!link || isFetchableAddress(link->absoluteString()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto pageURL =
        *foundation::URL::withString("https://repo.example.com/depictions/com.example.tweak/");
    const auto page = KSDepictionsParser::parseHTML(foundation::Bytes(data, data + size));
    if (!page)
        return 0;
    (void)KSBigBossLayout::name(*page);
    (void)KSBigBossLayout::description(*page);
    (void)KSBigBossLayout::changelog(*page);
    checkAddresses(KSBigBossLayout::screenshots(*page, pageURL));

    (void)KSPellithLayout::description(*page);
    (void)KSPellithLayout::changelog(*page);
    checkLink(KSPellithLayout::changelogLink(*page, pageURL));
    checkLink(KSPellithLayout::screenshotsLink(*page, pageURL));
    checkAddresses(KSPellithLayout::screenshots(*page, pageURL));

    (void)KSVostrelLayout::name(*page);
    (void)KSVostrelLayout::description(*page);
    (void)KSVostrelLayout::changelog(*page);
    checkAddresses(KSVostrelLayout::screenshots(*page));
    return 0;
}
