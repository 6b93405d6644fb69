// Versions from repository indexes and the status file: Debian's version order, checked against
// a plain reading of Debian Policy's rule on every pair that Debian's grammar accepts, and for
// being a total order on any text. The input holds up to three versions, one a line.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/debian/VersionCompare.h"

namespace {

using corvane::compareVersions;

int sign(int value) {
    return (value > 0) - (value < 0);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// '~' first, then the end of the part and digits, then letters, then the other characters.
int weight(std::string_view text, std::size_t at) {
    if (at >= text.size() || isDigit(text[at]))
        return 0;
    const char c = text[at];
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return c;
    return c == '~' ? -1 : c + 256;
}

// Non-digit runs compared character by character, digit runs as numbers, in turn.
int comparePart(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    auto digitAt = [](std::string_view text, std::size_t at) {
        return at < text.size() && isDigit(text[at]);
    };
    while (i < a.size() || j < b.size()) {
        while ((i < a.size() && !isDigit(a[i])) || (j < b.size() && !isDigit(b[j]))) {
            if (weight(a, i) != weight(b, j))
                return weight(a, i) - weight(b, j);
            ++i;
            ++j;
        }
        while (i < a.size() && a[i] == '0')
            ++i;
        while (j < b.size() && b[j] == '0')
            ++j;
        int firstDifference = 0;
        for (; digitAt(a, i) && digitAt(b, j); ++i, ++j)
            if (firstDifference == 0)
                firstDifference = a[i] - b[j];
        if (digitAt(a, i))
            return 1;
        if (digitAt(b, j))
            return -1;
        if (firstDifference != 0)
            return firstDifference;
    }
    return 0;
}

struct Parts {
    long long epoch = 0;
    std::string_view upstream;
    std::string_view revision;
};

Parts split(std::string_view version) {
    Parts parts;
    if (const auto colon = version.find(':'); colon != std::string_view::npos) {
        parts.epoch = std::strtoll(std::string(version.substr(0, colon)).c_str(), nullptr, 10);
        version.remove_prefix(colon + 1);
    }
    const auto hyphen = version.rfind('-');
    parts.upstream = version.substr(0, hyphen);
    if (hyphen != std::string_view::npos)
        parts.revision = version.substr(hyphen + 1);
    return parts;
}

int referenceOrder(std::string_view a, std::string_view b) {
    const auto left = split(a);
    const auto right = split(b);
    if (left.epoch != right.epoch)
        return left.epoch < right.epoch ? -1 : 1;
    if (const int upstreams = comparePart(left.upstream, right.upstream))
        return sign(upstreams);
    return sign(comparePart(left.revision, right.revision));
}

std::vector<std::string_view> versionsOf(std::string_view text) {
    std::vector<std::string_view> versions;
    while (versions.size() < 2) {
        const auto newline = text.find('\n');
        if (newline == std::string_view::npos)
            break;
        versions.push_back(text.substr(0, newline));
        text.remove_prefix(newline + 1);
    }
    versions.push_back(text);
    return versions;
}

void checkPair(std::string_view a, std::string_view b) {
    const int order = sign(compareVersions(a, b));
    FUZZ_CHECK(order == -sign(compareVersions(b, a)));
    if (corvane::isValidDebianVersion(a) && corvane::isValidDebianVersion(b))
        FUZZ_CHECK(order == referenceOrder(a, b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto versions = versionsOf(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto version : versions)
        FUZZ_CHECK(compareVersions(version, version) == 0);
    for (std::size_t i = 0; i < versions.size(); ++i)
        for (std::size_t j = i + 1; j < versions.size(); ++j)
            checkPair(versions[i], versions[j]);
    if (versions.size() == 3) {
        const int ab = sign(compareVersions(versions[0], versions[1]));
        const int bc = sign(compareVersions(versions[1], versions[2]));
        if (ab == bc)
            FUZZ_CHECK(sign(compareVersions(versions[0], versions[2])) == ab);
    }
    return 0;
}
