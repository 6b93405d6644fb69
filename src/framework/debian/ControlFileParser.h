#pragma once

#include <string_view>

#include "foundation/Value.h"

namespace corvane {

// Reads Debian control data (repository Packages indexes, the dpkg status file, Release files)
// into one dictionary per stanza, built from the views of a StanzaReader (which describes how
// stanzas, fields and continuation lines are read).
//
// Each dictionary holds "rawPackage", the stanza's text without its last line end, and every
// field under its name as written (a later duplicate replaces an earlier one). "Author" and
// "Maintainer" written as "Name <address>" become the field = "Name" and the field + "Email" =
// "address"; any other form is kept whole.
class ControlFileParser {
  public:
    // Stanzas without a requiredField field are skipped; an empty requiredField keeps them all.
    static foundation::Array parse(std::string_view text, std::string_view requiredField = {});
};

}  // namespace corvane
