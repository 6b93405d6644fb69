#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "framework/debian/ControlStanza.h"

namespace corvane {

// Reads the stanzas of a control-file text (a repository Packages index, the dpkg status file, a
// Release file) one after another, in one scan. Each stanza is a view of the text, which must
// outlive the reader, and its fields are kept in one list that the reader reuses: readers of a
// whole index build their objects from these views while the stanza is fresh in the cache, and
// copy only the values they keep.
//
// Stanzas are separated by lines that are empty or hold only blanks; "\n" and "\r\n" line ends
// are both read.
// - A field line is split at its first ':' so that a value may hold ": " itself; blanks around
//   the name and the value are dropped.
// - A line that starts with a space or tab continues the field above it. A line without a ':',
//   or starting with one, is taken the same way, as careless indexes write multi-line
//   descriptions unindented; before any field it is ignored.
class StanzaReader {
  public:
    explicit StanzaReader(std::string_view text)
        : position_(text.data()), end_(text.data() + text.size()) {}

    // The next stanza, valid until the next call; nullopt after the last.
    std::optional<ControlStanza> next();

    // Where a text may be cut without splitting a stanza: just past its last blank line that
    // ends at or after `from`; npos when there is none. Reading the two parts one after the
    // other gives the stanzas that reading the whole gives.
    static std::size_t endOfLastStanza(std::string_view text, std::size_t from = 0);

  private:
    struct Line {
        const char* begin = nullptr;
        const char* end = nullptr;  // before "\n" or "\r\n"
        const char* next = nullptr;
    };

    Line readLine(const char* position) const;
    static bool isBlankLine(const Line& line);
    void addLine(const Line& line);

    const char* position_;
    const char* end_;
    std::vector<ControlStanza::Field> fields_;
};

}  // namespace corvane
