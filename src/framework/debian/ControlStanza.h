#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// One stanza of a control-file text as a StanzaReader found it: views of the text, which must
// outlive it, so nothing is copied until a value is asked for.
class ControlStanza {
  public:
    struct Field {
        std::string_view name;
        // The first line's value without the blanks around it, then, for a field that goes on,
        // the continuation lines as written, up to the last one's trailing blanks.
        std::string_view text;
        std::size_t firstLineLength = 0;

        bool continues() const { return text.size() > firstLineLength; }
        // The continuation lines each after a newline, without their first blank and their
        // trailing blanks; no newline after an empty first line.
        std::string value() const;
    };

    ControlStanza(std::string_view text, std::span<const Field> fields)
        : text_(text), fields_(fields) {}

    // The stanza's text without its last line end.
    std::string_view text() const { return text_; }
    // In the order written, duplicates included.
    std::span<const Field> fields() const { return fields_; }
    bool contains(std::string_view name) const;
    // The last field of that name (a later duplicate replaces an earlier one); nullptr when none.
    const Field* field(std::string_view name) const;

    // What names and values are trimmed of: space, tab, and the "\r" of a "\r\n" line end.
    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
    // The end of [begin, end) before its trailing blanks.
    static const char* withoutTrailingBlanks(const char* begin, const char* end) {
        while (end > begin && isBlank(end[-1]))
            --end;
        return end;
    }

  private:
    std::string_view text_;
    std::span<const Field> fields_;
};

// Author and Maintainer written as "Name <address>": the person without trailing blanks, and the
// address; nullopt for any other form.
struct ControlContact {
    std::string_view person;
    std::string_view address;
};
std::optional<ControlContact> contactOf(std::string_view value);

}  // namespace corvane
