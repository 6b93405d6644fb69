#include "framework/categories/Hex.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(Hex, WritesTwoLowerCaseDigitsPerByte) {
    const std::uint8_t bytes[] = {0x00, 0x0A, 0x7F, 0x80, 0xFF};
    EXPECT_EQ(hexString(bytes), "000a7f80ff");
    EXPECT_EQ(hexString({}), "");
}

}  // namespace
}  // namespace corvane
