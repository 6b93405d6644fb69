#pragma once

#include <string>
#include <string_view>

#include "foundation/Value.h"

namespace foundation {

// Lower-case hexadecimal digests.
std::string md5Hex(const Bytes& data);
std::string md5Hex(std::string_view text);
std::string sha256Hex(const Bytes& data);
std::string sha256Hex(std::string_view text);

}  // namespace foundation
