#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Value.h"

namespace foundation {

// Looks at an untrusted property list before libplist builds it. libplist recurses once per
// nesting level, and for a binary list builds a fresh copy of an object for every reference to
// it, so a small hostile file could exhaust the stack or, by sharing objects level after level,
// the memory. The guard bounds the size, the nesting and the number of nodes the list expands to.
// It also refuses what libplist would take silently or abort on: an XML list cut off before its
// closing tag, a binary string holding a NUL character.
class PropertyListGuard {
  public:
    static constexpr std::size_t kMaximumSize = 32 * 1024 * 1024;
    static constexpr std::size_t kMaximumDepth = 512;
    static constexpr std::uint64_t kMaximumNodes = 1 << 20;

    // Why the list must not be parsed, or nullopt when it may be.
    static std::optional<std::string> problemWithBinary(const Bytes& data);
    static std::optional<std::string> problemWithXML(std::string_view text);
};

}  // namespace foundation
