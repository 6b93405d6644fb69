#pragma once

#include <string>

#include "foundation/Result.h"
#include "foundation/Value.h"

namespace foundation {

// Property lists, XML and binary, to and from values.
//
// Booleans, integers, reals, strings, data, dates, arrays and dictionaries map to their plist
// types. Dates are seconds since 1970 in a value and seconds since 2001 in a list; the binary
// format keeps them to the microsecond, the XML format to the second. An integer above the
// 64-bit signed range, which a list may hold, reads as a real.
//
// The null marker has no plist form, so a value holding one is refused with an error rather
// than written with something silently missing or changed; nil entries are left out. Strings
// and keys must be UTF-8 without NUL characters, and dates must lie within 2^31 seconds of 2001
// (December 1932 to January 2069), the range the list library can express.
//
// Reading detects the format. Malformed, truncated, oversized or too deeply nested input gives an
// error in "NSCocoaErrorDomain" with code 3840; a refused value code 3852.
class PropertyList {
  public:
    enum class Format { XML, Binary };
    static constexpr long kReadCorruptErrorCode = 3840;
    static constexpr long kWriteInvalidErrorCode = 3852;

    static Result<Value> read(const Bytes& data);
    static Result<Value> readFile(const std::string& path);

    static Result<std::string> writeXML(const Value& value);
    static Result<Bytes> writeBinary(const Value& value);
    // Atomically: a reader, or a crash midway, sees the old file whole or the new one.
    static Status writeFile(const std::string& path, const Value& value, Format format);
};

}  // namespace foundation
