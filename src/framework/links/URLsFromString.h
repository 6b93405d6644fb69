#pragma once

#include <string_view>
#include <vector>

#include "foundation/URL.h"

namespace corvane {

// Every address written in the text as "scheme://…" that makes a URL with a scheme and a host, in
// text order. An address ends before a blank, a quote, an angle bracket or any other character a
// URL cannot hold; punctuation that closes the surrounding sentence (".", ",", ";", ":", "!",
// "?", "'") and a ")" or "]" without its opening partner are left out, so "(see
// https://example.com/a_(b).)" gives "https://example.com/a_(b)".
std::vector<foundation::URL> URLs(std::string_view text);

}  // namespace corvane
