#include "support/CommandMarker.h"

#include <filesystem>

namespace testing_support {

std::string CommandMarker::hostileName(const std::string& tail) {
    return std::string("$(touch ") + kMarker + ") `touch " + kMarker + "`; " + tail;
}

bool CommandMarker::noCommandRan() {
    return !std::filesystem::remove(kMarker);
}

}  // namespace testing_support
