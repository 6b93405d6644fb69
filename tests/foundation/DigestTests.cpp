#include <gtest/gtest.h>

#include "foundation/Digest.h"

using namespace foundation;

TEST(Digest, KnownVectorsForTextAndBytes) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(md5Hex(Bytes{'a', 'b', 'c'}), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Hex(Bytes{}),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_NE(md5Hex(std::string_view("a\0b", 3)), md5Hex("a")) << "bytes after a NUL count";
}
