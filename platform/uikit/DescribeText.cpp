#include "uikit/DescribeText.h"

namespace uikit {

std::string quotedForDescription(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            continue;
        else
            out += c;
    }
    return out + "\"";
}

}  // namespace uikit
