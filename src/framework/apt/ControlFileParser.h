#pragma once

#include <string_view>

#include "foundation/Value.h"

namespace corvane {

// Reads Debian control data (repository Packages indexes, the dpkg status file, Release files)
// into one dictionary per stanza. The buffer is indexed line by line first and each stanza's
// values are then built from views of it, so a whole index costs one scan plus the allocations
// of the values themselves.
//
// Stanzas are separated by lines that are empty or hold only blanks; "\n" and "\r\n" line ends
// are both read. Each dictionary holds "rawPackage", the stanza's text without its last line
// end, and every field under its name as written (a later duplicate replaces an earlier one):
// - A field line is split at its first ':' so that a value may hold ": " itself; blanks around
//   the value are dropped.
// - A line that starts with a space or tab continues the field above it and is appended after a
//   newline, without that first blank and without trailing blanks. A line without a ':' is
//   taken the same way, as careless indexes write multi-line descriptions unindented. An empty
//   first line ("Conffiles:") adds no leading newline.
// - "Author" and "Maintainer" written as "Name <address>" become the field = "Name" and the
//   field + "Email" = "address"; any other form is kept whole.
class ControlFileParser {
  public:
    // Stanzas without a requiredField field are skipped; an empty requiredField keeps them all.
    static foundation::Array parse(std::string_view text, std::string_view requiredField = {});
};

}  // namespace corvane
