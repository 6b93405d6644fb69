#pragma once

#include <optional>
#include <string>

#include "foundation/Value.h"
#include "uikit/ApplicationShortcutIcon.h"

namespace uikit {

// An action offered on the application's home-screen icon.
struct ApplicationShortcutItem {
    std::string type;
    std::string localizedTitle;
    std::optional<std::string> localizedSubtitle;
    std::optional<ApplicationShortcutIcon> icon;
    foundation::Value userInfo;

    bool operator==(const ApplicationShortcutItem&) const = default;
};

}  // namespace uikit
