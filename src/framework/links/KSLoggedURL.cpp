#include "framework/links/KSLoggedURL.h"

namespace corvane {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string KSLoggedURL::text(std::string_view url) {
    std::size_t length = url.size();
    if (length > kMaximumBytes) {
        length = kMaximumBytes;
        while (length > 0 && isContinuationByte(url[length]))
            --length;
    }
    std::string logged(url.substr(0, length));
    for (char& c : logged) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    if (length < url.size())
        logged += "…";
    return logged;
}

}  // namespace corvane
