#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/Value.h"

namespace foundation {

// printf-like formatting that is safe with any format, including one from a resource or from
// outside data. Arguments are taken by position ("%@", then "%2$@" forms); a specifier without
// an argument gives empty text, an unknown one ("%n") is copied as written, and nothing is ever
// written through an argument.
//
// %@ is the argument's text ("(null)" for nil), %d %i %u %x (with h, l, ll, q, z lengths) take
// its integer value, %f %e %g its real value, %s its text, %c a character from a code point.
// Flags "-+ 0#", a width and a precision work as in printf.
std::string format(std::string_view fmt, const std::vector<Value>& args);

template <typename... Args>
std::string format(std::string_view fmt, const Args&... args) {
    return format(fmt, std::vector<Value>{Value(args)...});
}

}  // namespace foundation
