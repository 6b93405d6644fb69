#include "foundation/Localization.h"

#include <map>
#include <utility>

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include "foundation/Bundle.h"
#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/ProcessValue.h"
#include "foundation/Strings.h"

namespace foundation {

namespace {

using Table = std::map<std::string, std::string>;

bool isBareCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("_$+/:.-").find(c) != std::string_view::npos;
}

void appendCodePoint(std::string& out, UChar32 c) {
    std::uint8_t bytes[4];
    std::int32_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, c);
    out.append(reinterpret_cast<const char*>(bytes), std::size_t(length));
}

// Reads the entries of a ".strings" text; every step answers false on malformed text.
class StringsScanner {
  public:
    explicit StringsScanner(std::string_view text) : text_(text) {}

    std::optional<Table> entries() {
        Table table;
        while (skipSpaceAndComments() && !atEnd()) {
            std::string key, value;
            if (!readToken(key) || !expect('=') || !readToken(value) || !expect(';'))
                return std::nullopt;
            table[std::move(key)] = std::move(value);
        }
        if (!atEnd())
            return std::nullopt;
        return table;
    }

  private:
    bool atEnd() const { return at_ >= text_.size(); }
    bool lookingAt(std::string_view s) const { return text_.substr(at_).starts_with(s); }

    bool skipSpaceAndComments() {
        while (!atEnd()) {
            if (std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
                ++at_;
            } else if (lookingAt("//")) {
                at_ = std::min(text_.find('\n', at_), text_.size());
            } else if (lookingAt("/*")) {
                std::size_t end = text_.find("*/", at_ + 2);
                if (end == std::string_view::npos)
                    return false;
                at_ = end + 2;
            } else {
                break;
            }
        }
        return true;
    }

    bool expect(char c) {
        if (!skipSpaceAndComments() || atEnd() || text_[at_] != c)
            return false;
        ++at_;
        return true;
    }

    bool readToken(std::string& out) {
        if (!skipSpaceAndComments() || atEnd())
            return false;
        if (text_[at_] == '"')
            return readQuoted(out);
        std::size_t start = at_;
        while (!atEnd() && isBareCharacter(text_[at_]))
            ++at_;
        out.assign(text_.substr(start, at_ - start));
        return at_ > start;
    }

    bool readQuoted(std::string& out) {
        for (++at_; !atEnd(); ++at_) {
            char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c != '\\') {
                out += c;
            } else if (++at_ >= text_.size() || !readEscape(out)) {
                return false;
            }
        }
        return false;
    }

    // The escape whose letter is at at_; leaves at_ on its last character.
    bool readEscape(std::string& out) {
        char c = text_[at_];
        static constexpr std::string_view kLetters = "abfnrtv", kCodes = "\a\b\f\n\r\t\v";
        if (auto i = kLetters.find(c); i != std::string_view::npos) {
            out += kCodes[i];
        } else if (c >= '0' && c <= '7') {
            int value = 0;
            for (int n = 0; n < 3 && !atEnd() && text_[at_] >= '0' && text_[at_] <= '7'; ++n)
                value = value * 8 + (text_[at_++] - '0');
            --at_;
            if (value > 0x7F)
                return false;
            out += char(value);
        } else if (c == 'U' || c == 'u') {
            return readUnicodeEscape(out);
        } else {
            out += c;
        }
        return true;
    }

    std::optional<UChar> readHex4() {
        if (at_ + 4 >= text_.size())
            return std::nullopt;
        int value = 0;
        for (int n = 1; n <= 4; ++n) {
            auto digit = hexDigitValue(text_[at_ + n]);
            if (!digit)
                return std::nullopt;
            value = value * 16 + int(*digit);
        }
        at_ += 4;
        return UChar(value);
    }

    // "\U00e9", and a surrogate pair written as two escapes.
    bool readUnicodeEscape(std::string& out) {
        auto unit = readHex4();
        if (!unit || U16_IS_TRAIL(*unit))
            return false;
        if (!U16_IS_LEAD(*unit)) {
            appendCodePoint(out, *unit);
            return true;
        }
        if (!lookingAtTrailEscape())
            return false;
        at_ += 2;
        auto trail = readHex4();
        if (!trail || !U16_IS_TRAIL(*trail))
            return false;
        appendCodePoint(out, U16_GET_SUPPLEMENTARY(*unit, *trail));
        return true;
    }

    bool lookingAtTrailEscape() const {
        return text_.substr(at_ + 1).starts_with("\\U") || text_.substr(at_ + 1).starts_with("\\u");
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

Table loadTable(std::string_view name) {
    auto path = Bundle::pathForResource(name, "strings");
    if (!path)
        return {};
    auto text = FileManager::readText(*path);
    if (!text) {
        KSLog("Cannot read the string table %@: %@", *path, text.error().localizedDescription());
        return {};
    }
    std::string_view content = *text;
    if (content.starts_with("\xEF\xBB\xBF"))
        content.remove_prefix(3);
    auto table = parseStringsTable(content);
    if (!table) {
        KSLog("The string table %@ is malformed and was ignored", *path);
        return {};
    }
    return std::move(*table);
}

// Each table is read once for each resources folder: a process that is pointed at other
// resources (MAIN_BUNDLE_RESOURCES) reads their tables, not the ones it read first. A process
// reset reads them again.
using Tables = std::map<std::pair<std::string, std::string>, Table>;
ProcessValue<Tables> cachedTables;

std::optional<std::string> lookup(std::string_view tableName, const std::string& key) {
    auto entry = std::make_pair(Bundle::resourcesPath(), std::string(tableName));
    return cachedTables.update([&](Tables& tables) -> std::optional<std::string> {
        auto found = tables.find(entry);
        if (found == tables.end())
            found = tables.emplace(std::move(entry), loadTable(tableName)).first;
        auto value = found->second.find(key);
        if (value == found->second.end() || value->second.empty())
            return std::nullopt;
        return value->second;
    });
}

}  // namespace

std::string localized(std::string_view key) {
    std::string text(key);
    return lookup("Localizable", text).value_or(text);
}

std::string localizedError(long code, std::string_view fallbackFormat) {
    if (auto value = lookup("Errors", std::to_string(code)))
        return *value;
    return format(localized(fallbackFormat), code);
}

std::optional<Table> parseStringsTable(std::string_view text) {
    return StringsScanner(text).entries();
}

}  // namespace foundation
