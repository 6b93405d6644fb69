#include "store/ListCodec.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace store {

namespace {

void appendEscaped(std::string& out, char c) {
    switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default: {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        }
    }
}

// Text between the characters that need escaping is appended a run at a time: lists are written
// for every record a refresh stores.
void appendString(std::string& out, std::string_view text) {
    out += '"';
    std::size_t run = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20)
            continue;
        out.append(text.substr(run, at - run));
        appendEscaped(out, c);
        run = at + 1;
    }
    out.append(text.substr(run));
    out += '"';
}

void appendValue(std::string& out, const foundation::Value& value) {
    using Type = foundation::Value::Type;
    switch (value.type()) {
        case Type::String:
            appendString(out, *value.string());
            break;
        case Type::Boolean:
        case Type::Integer:
            out += std::to_string(value.integerValue());
            break;
        case Type::Real:
        case Type::Date: {
            double d = value.doubleValue();
            if (!std::isfinite(d)) {
                out += "null";
                break;
            }
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.17g", d);
            out += buffer;
            break;
        }
        default:
            out += "null";
    }
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A reader of the flat arrays that encode() writes (and SQLite's JSON functions would write).
class ArrayReader {
  public:
    explicit ArrayReader(std::string_view text) : text_(text) {}

    // Calls the handler for each element; false when the text is no flat array.
    template <typename Handler>
    bool read(Handler&& handler) {
        skipSpace();
        if (!take('['))
            return false;
        skipSpace();
        if (take(']'))
            return atEnd();
        while (true) {
            auto element = readElement();
            if (!element)
                return false;
            handler(std::move(*element));
            skipSpace();
            if (take(']'))
                return atEnd();
            if (!take(','))
                return false;
            skipSpace();
        }
    }

  private:
    std::optional<foundation::Value> readElement() {
        if (position_ >= text_.size())
            return std::nullopt;
        char c = text_[position_];
        if (c == '"') {
            auto text = readString();
            if (!text)
                return std::nullopt;
            return foundation::Value(std::move(*text));
        }
        if (takeWord("null"))
            return foundation::Value();
        if (takeWord("true"))
            return foundation::Value(true);
        if (takeWord("false"))
            return foundation::Value(false);
        return readNumber();
    }

    std::optional<std::string> readString() {
        ++position_;
        std::string out;
        while (position_ < text_.size()) {
            char c = text_[position_++];
            if (c == '"')
                return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (position_ >= text_.size())
                return std::nullopt;
            char escape = text_[position_++];
            switch (escape) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u':
                    if (!readEscapedCodePoint(out))
                        return std::nullopt;
                    break;
                default:
                    out += escape;
            }
        }
        return std::nullopt;
    }

    bool readEscapedCodePoint(std::string& out) {
        auto high = readHex4();
        if (!high)
            return false;
        std::uint32_t code = *high;
        if (code >= 0xD800 && code < 0xDC00 && text_.substr(position_, 2) == "\\u") {
            position_ += 2;
            auto low = readHex4();
            if (!low || *low < 0xDC00 || *low >= 0xE000)
                return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (*low - 0xDC00);
        }
        appendUtf8(out, code);
        return true;
    }

    std::optional<std::uint32_t> readHex4() {
        if (position_ + 4 > text_.size())
            return std::nullopt;
        std::uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            char c = text_[position_++];
            int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                        : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                        : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                    : -1;
            if (digit < 0)
                return std::nullopt;
            code = code * 16 + static_cast<std::uint32_t>(digit);
        }
        return code;
    }

    std::optional<foundation::Value> readNumber() {
        std::size_t start = position_;
        bool real = false;
        while (position_ < text_.size()) {
            char c = text_[position_];
            if (c == '.' || c == 'e' || c == 'E')
                real = true;
            if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-' && c != '+' && c != '.' &&
                c != 'e' && c != 'E')
                break;
            ++position_;
        }
        if (position_ == start)
            return std::nullopt;
        std::string number(text_.substr(start, position_ - start));
        if (real)
            return foundation::Value(std::strtod(number.c_str(), nullptr));
        return foundation::Value(static_cast<long long>(std::strtoll(number.c_str(), nullptr, 10)));
    }

    bool takeWord(std::string_view word) {
        if (text_.substr(position_, word.size()) != word)
            return false;
        position_ += word.size();
        return true;
    }
    bool take(char c) {
        if (position_ >= text_.size() || text_[position_] != c)
            return false;
        ++position_;
        return true;
    }
    void skipSpace() {
        while (position_ < text_.size() &&
               std::isspace(static_cast<unsigned char>(text_[position_])))
            ++position_;
    }
    bool atEnd() {
        skipSpace();
        return position_ == text_.size();
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

}  // namespace

std::string ListCodec::encode(const std::vector<std::string>& strings) {
    std::string out = "[";
    for (std::size_t i = 0; i < strings.size(); ++i) {
        if (i > 0)
            out += ',';
        appendString(out, strings[i]);
    }
    return out + "]";
}

std::string ListCodec::encode(const foundation::Value::Array& values) {
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        appendValue(out, values[i]);
    }
    return out + "]";
}

std::vector<std::string> ListCodec::decodeStrings(std::string_view json) {
    std::vector<std::string> strings;
    bool ok = ArrayReader(json).read([&](foundation::Value&& value) {
        strings.push_back(value.isString() ? *value.string() : value.stringValue());
    });
    if (!ok)
        strings.clear();
    return strings;
}

foundation::Value::Array ListCodec::decode(std::string_view json) {
    foundation::Value::Array values;
    bool ok = ArrayReader(json).read(
        [&](foundation::Value&& value) { values.push_back(std::move(value)); });
    if (!ok)
        values.clear();
    return values;
}

}  // namespace store
