#pragma once

#include <optional>
#include <string>

#include "foundation/Value.h"

namespace usernotifications {

struct NotificationContent {
    static constexpr const char* kDefaultSound = "default";

    std::string title;
    std::string body;
    std::optional<std::string> sound;  // a sound name, kDefaultSound, or none for silence
    std::optional<long> badge;         // none leaves the application's badge as it is
    foundation::Value userInfo;
};

}  // namespace usernotifications
