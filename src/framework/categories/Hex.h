#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace corvane {

// The bytes as lower-case hexadecimal, two digits each ({0x0A, 0xFF} -> "0aff").
std::string hexString(std::span<const std::uint8_t> data);

}  // namespace corvane
