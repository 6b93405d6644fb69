#include "foundation/Digest.h"

#include <openssl/evp.h>

namespace foundation {

namespace {

std::string digestHex(const EVP_MD* algorithm, const void* data, std::size_t size) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(data, size, digest, &length, algorithm, nullptr) != 1)
        return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < length; ++i) {
        out += kHex[digest[i] >> 4];
        out += kHex[digest[i] & 0xF];
    }
    return out;
}

}  // namespace

std::string md5Hex(const Bytes& data) {
    return digestHex(EVP_md5(), data.data(), data.size());
}
std::string md5Hex(std::string_view text) {
    return digestHex(EVP_md5(), text.data(), text.size());
}
std::string sha256Hex(const Bytes& data) {
    return digestHex(EVP_sha256(), data.data(), data.size());
}
std::string sha256Hex(std::string_view text) {
    return digestHex(EVP_sha256(), text.data(), text.size());
}

}  // namespace foundation
