// Native (JSON) depictions: the document reader and every retrieve of banner, description,
// changelogs and screenshots, with the addresses they hand out.

#include <cstddef>
#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "FetchableAddress.h"
#include "FuzzCheck.h"
#include "framework/depictions/KSDepictionsParser.h"

namespace {

using namespace corvane;
using Text = std::optional<std::string>;
using Addresses = std::vector<std::string>;

// Retrieves answer on a background queue; the input is done when they all have.
template <typename Result, typename Retrieve>
Result answer(Retrieve retrieve) {
    std::promise<Result> promise;
    retrieve([&promise](Result result) { promise.set_value(std::move(result)); });
    return promise.get_future().get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto depiction = KSDepictionsParser::instance().depictionsParserWithSileoData(
        foundation::Bytes(data, data + size));
    const auto banner = answer<Text>(
        [&](auto completion) { depiction->retrieveBannerURLFromSileoDepiction(completion); });
    FUZZ_CHECK(!banner || isFetchableAddress(*banner));
    const auto external = answer<Text>([&](auto completion) {
        depiction->retrieveExternalChangelogFromSileoDepiction(completion);
    });
    FUZZ_CHECK(!external || isFetchableAddress(*external));
    const auto screenshots = answer<Addresses>(
        [&](auto completion) { depiction->retrieveScreenshotsFromSileoDepiction(completion); });
    for (const auto& address : screenshots)
        FUZZ_CHECK(isFetchableAddress(address));
    const auto description = answer<Text>(
        [&](auto completion) { depiction->retrieveDescriptionFromSileoDepiction(completion); });
    FUZZ_CHECK(!description || !description->empty());
    const auto changelog = answer<Text>(
        [&](auto completion) { depiction->retrieveChangelogFromSileoDepiction(completion); });
    FUZZ_CHECK(!changelog || !changelog->empty());
    return 0;
}
