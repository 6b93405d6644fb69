#include "foundation/Format.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace foundation {

namespace {

// Generous for any layout, small enough that a hostile "%999999999d" costs nothing.
constexpr int kMaxWidth = 256;

struct Spec {
    std::size_t position = 0;  // from "%N$", 1-based; 0 takes the next argument
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
    std::size_t end = 0;  // just past the specifier in the format
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t readNumber(std::string_view fmt, std::size_t& i) {
    std::size_t value = 0;
    for (; i < fmt.size() && isDigit(fmt[i]); ++i)
        value = std::min<std::size_t>(value * 10 + std::size_t(fmt[i] - '0'), 1u << 20);
    return value;
}

// The specifier whose "%" is at fmt[at]; nullopt when it is cut off or uses "*".
std::optional<Spec> parseSpec(std::string_view fmt, std::size_t at) {
    Spec spec;
    std::size_t i = at + 1;
    std::size_t digitsStart = i;
    std::size_t number = readNumber(fmt, i);
    if (i > digitsStart && i < fmt.size() && fmt[i] == '$' && number > 0) {
        spec.position = number;
        ++i;
    } else {
        i = digitsStart;
    }
    for (; i < fmt.size() && std::string_view("-+ 0#'").find(fmt[i]) != std::string_view::npos; ++i)
        if (fmt[i] != '\'' && spec.flags.find(fmt[i]) == std::string::npos)
            spec.flags += fmt[i];
    if (i < fmt.size() && isDigit(fmt[i]))
        spec.width = int(std::min<std::size_t>(readNumber(fmt, i), kMaxWidth));
    if (i < fmt.size() && fmt[i] == '.') {
        ++i;
        spec.precision = int(std::min<std::size_t>(readNumber(fmt, i), kMaxWidth));
    }
    while (i < fmt.size() && std::string_view("hlqLzjt").find(fmt[i]) != std::string_view::npos)
        ++i;
    if (i >= fmt.size() || fmt[i] == '*')
        return std::nullopt;
    spec.conversion = fmt[i];
    spec.end = i + 1;
    return spec;
}

// Our own printf format, built only from validated flags, numbers and one known conversion.
std::string printfFormat(const Spec& spec, std::string_view length) {
    std::string out = "%" + spec.flags;
    if (spec.width >= 0)
        out += std::to_string(spec.width);
    if (spec.precision >= 0)
        out += "." + std::to_string(spec.precision);
    return out.append(length) + spec.conversion;
}

template <typename T>
std::string printed(const std::string& printfFmt, T value) {
    int length = std::snprintf(nullptr, 0, printfFmt.c_str(), value);
    if (length <= 0)
        return {};
    std::string out(std::size_t(length), '\0');
    std::snprintf(out.data(), out.size() + 1, printfFmt.c_str(), value);
    return out;
}

std::string padded(std::string text, const Spec& spec) {
    std::size_t characters = 0;
    for (char c : text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (spec.width < 0 || characters >= std::size_t(spec.width))
        return text;
    std::string padding(std::size_t(spec.width) - characters, ' ');
    return spec.flags.find('-') != std::string::npos ? text + padding : padding + text;
}

std::string character(std::int64_t codePoint) {
    if (codePoint <= 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return {};
    std::uint8_t bytes[4];
    std::int32_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, UChar32(codePoint));
    return std::string(reinterpret_cast<const char*>(bytes), std::size_t(length));
}

std::string objectText(const Value& value) {
    if (value.isNil())
        return "(null)";
    if (value.isNull())
        return "<null>";
    return value.stringValue();
}

// The argument's text for a known conversion, nullopt for an unknown one.
std::optional<std::string> rendered(const Spec& spec, const Value& value) {
    switch (spec.conversion) {
        case 'd':
        case 'i':
            return printed(printfFormat(spec, "ll"), static_cast<long long>(value.integerValue()));
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            return printed(printfFormat(spec, "ll"),
                           static_cast<unsigned long long>(value.integerValue()));
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            return printed(printfFormat(spec, ""), value.doubleValue());
        case 'c':
        case 'C':
            return padded(character(value.integerValue()), spec);
        case '@':
        case 's':
        case 'S':
            return padded(objectText(value), spec);
        default:
            return std::nullopt;
    }
}

}  // namespace

std::string format(std::string_view fmt, const std::vector<Value>& args) {
    static const Value kMissing;
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < fmt.size();) {
        auto spec = fmt[i] == '%' ? parseSpec(fmt, i) : std::nullopt;
        if (!spec) {
            out += fmt[i++];
            continue;
        }
        if (spec->conversion == '%') {
            out += '%';
        } else {
            std::size_t index = spec->position > 0 ? spec->position - 1 : next;
            const Value& argument = index < args.size() ? args[index] : kMissing;
            auto text = rendered(*spec, argument);
            if (text && index < args.size())
                out += *text;
            if (!text)
                out.append(fmt.substr(i, spec->end - i));
            if (text && spec->position == 0)
                ++next;
        }
        i = spec->end;
    }
    return out;
}

}  // namespace foundation
