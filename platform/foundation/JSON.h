#pragma once

#include <string>
#include <string_view>

#include "foundation/Result.h"
#include "foundation/Value.h"

namespace foundation {

// JSON documents to and from values.
//
// Reading: null becomes the null marker (a missing member stays nil), integers that fit 64 bits
// become integers, other numbers reals. A document that is malformed, not UTF-8, or nested deeper
// than kMaximumDepth gives an error in "NSCocoaErrorDomain" with code 3840.
//
// Writing: nil members and elements are left out (nil means absent); a nil document is written
// as "null". Data becomes a base64 string, a date its seconds since 1970. Reals that are not
// finite have no JSON form and are written as null; invalid UTF-8 in a string is replaced by
// U+FFFD.
class JSON {
  public:
    static constexpr std::size_t kMaximumDepth = 512;
    static constexpr long kReadCorruptErrorCode = 3840;

    static Result<Value> parse(std::string_view text);
    static Result<Value> parse(const Bytes& data);
    static std::string serialize(const Value& value, bool pretty = false);
};

}  // namespace foundation
