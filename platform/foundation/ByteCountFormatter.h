#pragma once

#include <cstdint>
#include <string>

namespace foundation {

// Byte counts the way file sizes are shown: decimal units (1 KB is 1000 bytes), "Zero KB" for
// nothing, whole bytes and kilobytes, one decimal for megabytes and two from gigabytes on, with
// trailing zeros dropped: "12 bytes", "2 KB", "1.5 MB", "2 GB", "1.23 GB". A count that rounds
// up to 1000 of one unit is shown in the next ("1 MB", not "1000 KB").
class ByteCountFormatter {
  public:
    static std::string stringFromByteCount(std::int64_t byteCount);
};

}  // namespace foundation
