#include "framework/debian/VersionCompare.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace corvane {

namespace {

struct VersionParts {
    std::string_view epoch;  // digits; empty for epoch 0
    std::string_view upstream;
    std::string_view revision;
};

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// What dpkg trims around a version: the C locale's white space, line ends included.
constexpr bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// dpkg's weight of a character in a non-digit run: '~' lowest, then the end of the text and
// digits, then letters, then everything else. Only digits (and the end) weigh 0.
constexpr std::array<int, 256> kOrder = [] {
    std::array<int, 256> order{};
    for (int c = 0; c < 256; ++c) {
        const char character = static_cast<char>(c);
        if (isDigit(character))
            order[c] = 0;
        else if (isLetter(character))
            order[c] = c;
        else if (character == '~')
            order[c] = -1;
        else
            order[c] = c + 256;
    }
    return order;
}();

int order(const char* position, const char* end) {
    return position == end ? 0 : kOrder[static_cast<unsigned char>(*position)];
}

bool digitAt(const char* position, const char* end) {
    return position != end && isDigit(*position);
}

// Blanks around a version are rare: the common case costs two comparisons and no call.
inline std::string_view withoutBlanks(std::string_view text) {
    if (text.empty() || (!isSpace(text.front()) && !isSpace(text.back())))
        return text;
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool allDigits(const char* begin, const char* end) {
    for (const char* c = begin; c != end; ++c) {
        if (!isDigit(*c))
            return false;
    }
    return true;
}

// The epoch ends at the first ':' when only digits precede it; the revision starts after the
// last '-'.
VersionParts split(std::string_view text) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    VersionParts parts;
    const char* upstream = begin;
    const auto* colon = static_cast<const char*>(std::memchr(begin, ':', text.size()));
    if (colon != nullptr && colon != begin && allDigits(begin, colon)) {
        parts.epoch = std::string_view(begin, colon - begin);
        upstream = colon + 1;
    }
    const auto* hyphen = static_cast<const char*>(memrchr(upstream, '-', end - upstream));
    if (hyphen == nullptr) {
        parts.upstream = std::string_view(upstream, end - upstream);
    } else {
        parts.upstream = std::string_view(upstream, hyphen - upstream);
        parts.revision = std::string_view(hyphen + 1, end - hyphen - 1);
    }
    return parts;
}

// Leading bytes that both texts share compare equal under any rule, so the comparison may start
// after them, at the beginning of a run: a digit run must be read whole.
std::size_t sharedPrefix(std::string_view a, std::string_view b) {
    const std::size_t length = std::min(a.size(), b.size());
    std::size_t index = 0;
    while (index < length && a[index] == b[index])
        ++index;
    if (index == a.size() && index == b.size())
        return index;
    while (index > 0 && isDigit(a[index - 1]))
        --index;
    return index;
}

// dpkg's comparison of one version part: alternating non-digit runs, compared by weight, and
// digit runs, compared as numbers of any length.
int compareFragments(std::string_view left, std::string_view right) {
    const std::size_t shared = sharedPrefix(left, right);
    if (shared == left.size() && shared == right.size())
        return 0;
    const char* a = left.data() + shared;
    const char* const aEnd = left.data() + left.size();
    const char* b = right.data() + shared;
    const char* const bEnd = right.data() + right.size();
    while (a != aEnd || b != bEnd) {
        for (;;) {
            const int aOrder = order(a, aEnd);
            const int bOrder = order(b, bEnd);
            if (aOrder != bOrder)
                return aOrder - bOrder;
            if (aOrder == 0)
                break;  // both at a digit or at the end
            ++a;
            ++b;
        }
        while (a != aEnd && *a == '0')
            ++a;
        while (b != bEnd && *b == '0')
            ++b;
        int firstDifference = 0;
        while (digitAt(a, aEnd) && digitAt(b, bEnd)) {
            if (firstDifference == 0)
                firstDifference = *a - *b;
            ++a;
            ++b;
        }
        if (digitAt(a, aEnd))
            return 1;
        if (digitAt(b, bEnd))
            return -1;
        if (firstDifference != 0)
            return firstDifference;
    }
    return 0;
}

}  // namespace

// Called tens of thousands of times per refresh on short texts: its helpers are built into it,
// so that no call is made for the parts of a version.
[[gnu::flatten]] int compareVersions(std::string_view a, std::string_view b) {
    a = withoutBlanks(a);
    b = withoutBlanks(b);
    if (a == b)
        return 0;
    if (a.empty() || b.empty())
        return static_cast<int>(b.empty()) - static_cast<int>(a.empty());
    const VersionParts left = split(a);
    const VersionParts right = split(b);
    if (const int epochs = compareFragments(left.epoch, right.epoch))
        return epochs;
    if (const int upstreams = compareFragments(left.upstream, right.upstream))
        return upstreams;
    return compareFragments(left.revision, right.revision);
}

bool greaterThan(std::string_view a, std::string_view b) {
    return compareVersions(a, b) > 0;
}

}  // namespace corvane
