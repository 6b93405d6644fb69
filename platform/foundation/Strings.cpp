#include "foundation/Strings.h"

#include <unicode/brkiter.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>

namespace foundation {

namespace {

icu::UnicodeString toUnicode(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), std::int32_t(text.size())));
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

bool isWhitespaceOrNewline(UChar32 c) {
    // Most text is ASCII: no need to ask ICU about it.
    if (c < 0x80)
        return c == ' ' || (c >= 0x09 && c <= 0x0D);
    if (c == 0x85)
        return true;
    auto type = u_charType(c);
    return type == U_SPACE_SEPARATOR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

bool isAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

icu::UnicodeString withoutMarks(const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return text;
    icu::UnicodeString decomposed = nfd->normalize(text, status);
    icu::UnicodeString bare;
    for (std::int32_t i = 0; i < decomposed.length();) {
        UChar32 c = decomposed.char32At(i);
        i += U16_LENGTH(c);
        if (u_charType(c) != U_NON_SPACING_MARK)
            bare.append(c);
    }
    icu::UnicodeString composed = nfc->normalize(bare, status);
    return U_SUCCESS(status) ? composed : bare;
}

std::string_view allowedPunctuation(PercentEncoding allowed) {
    switch (allowed) {
        case PercentEncoding::URLQuery:
            return "!$&'()*+,-./:;=?@_~";
        case PercentEncoding::PathComponent:
            return "!$&'()*+,-.:=@_~";
        case PercentEncoding::QueryItem:
            return "!$'()*,-./:;?@_~";
        case PercentEncoding::Unreserved:
            break;
    }
    return "-._~";
}

bool isAllowed(unsigned char c, PercentEncoding allowed) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(char(c)))
        return true;
    return c != 0 && allowedPunctuation(allowed).find(char(c)) != std::string_view::npos;
}

std::string_view withoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

// The position of the dot that starts the extension of a path without trailing slashes; a dot
// that starts the name (".profile") or ends it ("name.") starts none.
std::size_t extensionDot(std::string_view path) {
    std::size_t nameStart = path.rfind('/') + 1;  // npos + 1 == 0
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart + 1 || dot + 1 == path.size())
        return std::string_view::npos;
    return dot;
}

}  // namespace

std::vector<std::string> split(std::string_view text, std::string_view separator) {
    if (separator.empty())
        return {std::string(text)};
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string_view::npos;) {
        parts.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

std::string replace(std::string_view text, std::string_view target, std::string_view replacement) {
    if (target.empty())
        return std::string(text);
    std::string out;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(target, start)) != std::string_view::npos;) {
        out.append(text.substr(start, at - start)).append(replacement);
        start = at + target.size();
    }
    return out.append(text.substr(start));
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}
bool hasPrefix(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix);
}
bool hasSuffix(std::string_view text, std::string_view suffix) {
    return text.ends_with(suffix);
}

std::string trimmed(std::string_view text) {
    auto bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    std::int32_t length = std::int32_t(text.size());
    std::int32_t start = 0;
    while (start < length) {
        std::int32_t next = start;
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (!isWhitespaceOrNewline(c))
            break;
        start = next;
    }
    std::int32_t end = length;
    while (end > start) {
        std::int32_t previous = end;
        UChar32 c;
        U8_PREV(bytes, start, previous, c);
        if (!isWhitespaceOrNewline(c))
            break;
        end = previous;
    }
    return std::string(text.substr(start, end - start));
}

std::optional<unsigned> hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

std::string lowercase(std::string_view text) {
    // Most text is ASCII, whose lower case needs none of the Unicode tables.
    if (std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string lower(text);
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return lower;
    }
    return toUtf8(toUnicode(text).toLower(icu::Locale::getRoot()));
}

std::string uppercase(std::string_view text) {
    return toUtf8(toUnicode(text).toUpper(icu::Locale::getRoot()));
}

std::string capitalized(std::string_view text) {
    return toUtf8(toUnicode(text).toTitle(nullptr, icu::Locale::getRoot()));
}

std::string folded(std::string_view text, unsigned options) {
    if (options == kCaseSensitive)
        return std::string(text);
    icu::UnicodeString unicode = toUnicode(text);
    if (options & kDiacriticInsensitive)
        unicode = withoutMarks(unicode);
    if (options & kCaseInsensitive)
        unicode.foldCase();
    return toUtf8(unicode);
}

int compare(std::string_view a, std::string_view b, unsigned options) {
    int order = folded(a, options).compare(folded(b, options));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

bool caseInsensitiveEquals(std::string_view a, std::string_view b) {
    return compare(a, b, kCaseInsensitive) == 0;
}

bool caseAndDiacriticInsensitiveEquals(std::string_view a, std::string_view b) {
    return compare(a, b, kCaseInsensitive | kDiacriticInsensitive) == 0;
}

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    return contains(folded(text, kCaseInsensitive), folded(part, kCaseInsensitive));
}

bool containsIgnoringCaseAndDiacritics(std::string_view text, std::string_view part) {
    unsigned options = kCaseInsensitive | kDiacriticInsensitive;
    return contains(folded(text, options), folded(part, options));
}

bool isValidUtf8(std::string_view text) {
    // ICU walks the bytes with 32-bit offsets.
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

std::string firstCharacter(std::string_view text) {
    // No user-perceived character is longer than this in practice; cut on a sequence boundary.
    std::size_t cut = std::min<std::size_t>(text.size(), 1024);
    while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    icu::UnicodeString unicode = toUnicode(text.substr(0, cut));
    if (unicode.isEmpty())
        return {};

    thread_local std::unique_ptr<icu::BreakIterator> characters;
    if (!characters) {
        UErrorCode status = U_ZERO_ERROR;
        characters.reset(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status))
            characters.reset();
    }
    std::int32_t end = U16_LENGTH(unicode.char32At(0));
    if (characters) {
        characters->setText(unicode);
        end = characters->following(0);
    }
    return toUtf8(unicode.tempSubString(0, end));
}

std::int64_t integerValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isAsciiSpace(text[i]))
        ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = negative ? std::uint64_t(INT64_MAX) + 1 : INT64_MAX;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + std::uint64_t(text[i] - '0');
        if (magnitude >= limit)
            return negative ? INT64_MIN : INT64_MAX;
    }
    return negative ? -std::int64_t(magnitude) : std::int64_t(magnitude);
}

double doubleValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isAsciiSpace(text[i]))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    std::size_t start = i;
    if (i < text.size() && text[i] == '-')
        ++i;
    auto digitsFrom = [&](std::size_t at) {
        while (at < text.size() && isDigit(text[at]))
            ++at;
        return at;
    };
    std::size_t end = digitsFrom(i);
    bool hasDigits = end > i;
    if (end < text.size() && text[end] == '.') {
        std::size_t fractionEnd = digitsFrom(end + 1);
        hasDigits = hasDigits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!hasDigits)
        return 0;
    bool negativeExponent = false;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        negativeExponent = exponent < text.size() && text[exponent] == '-';
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (digitsFrom(exponent) > exponent)
            end = digitsFrom(exponent);
    }
    double value = 0;
    auto [rest, error] = std::from_chars(text.data() + start, text.data() + end, value);
    if (error == std::errc::result_out_of_range) {
        double magnitude = negativeExponent ? 0.0 : HUGE_VAL;
        return text[start] == '-' ? -magnitude : magnitude;
    }
    return value;
}

std::string percentEncode(std::string_view text, PercentEncoding allowed) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (isAllowed(c, allowed)) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::optional<std::string> percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        auto high = i + 2 < text.size() ? hexDigitValue(text[i + 1]) : std::nullopt;
        auto low = high ? hexDigitValue(text[i + 2]) : std::nullopt;
        if (!low)
            return std::nullopt;
        out += char(*high * 16 + *low);
        i += 2;
    }
    if (!isValidUtf8(out))
        return std::nullopt;
    return out;
}

std::string lastPathComponent(std::string_view path) {
    path = withoutTrailingSlashes(path);
    if (path == "/")
        return "/";
    return std::string(path.substr(path.rfind('/') + 1));
}

std::string pathExtension(std::string_view path) {
    path = withoutTrailingSlashes(path);
    std::size_t dot = extensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

std::string deletingLastPathComponent(std::string_view path) {
    path = withoutTrailingSlashes(path);
    std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    if (path == "/" || slash == 0)
        return "/";
    return std::string(withoutTrailingSlashes(path.substr(0, slash)));
}

std::string deletingPathExtension(std::string_view path) {
    path = withoutTrailingSlashes(path);
    return std::string(path.substr(0, extensionDot(path)));
}

std::string appendingPathComponent(std::string_view path, std::string_view component) {
    path = withoutTrailingSlashes(path);
    if (path.empty())
        return std::string(component);
    if (component.empty())
        return std::string(path);
    while (component.starts_with('/'))
        component.remove_prefix(1);
    std::string out(path == "/" ? "" : path);
    return out.append("/").append(component);
}

std::string appendingPathExtension(std::string_view path, std::string_view extension) {
    std::string_view base = withoutTrailingSlashes(path);
    if (base.empty() || base == "/" || extension.empty())
        return std::string(path);
    return std::string(base).append(".").append(extension);
}

std::vector<std::string> pathComponents(std::string_view path) {
    std::vector<std::string> components;
    if (path.starts_with('/'))
        components.emplace_back("/");
    for (auto& part : split(path, "/"))
        if (!part.empty())
            components.push_back(std::move(part));
    return components;
}

bool pathLiesWithin(std::string_view path, std::string_view folder) {
    const auto inside = pathComponents(path);
    const auto outside = pathComponents(folder);
    return inside.size() >= outside.size() &&
           std::equal(outside.begin(), outside.end(), inside.begin());
}

bool isSafeFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

}  // namespace foundation
