#include "app/completion/KSNotificationKinds.h"

namespace corvane {

namespace {

constexpr std::pair<KSNotificationKind, const char*> kNames[] = {
    {KSNotificationKind::error, "error"},
    {KSNotificationKind::news, "news"},
    {KSNotificationKind::newSourcePackages, "newSourcePackages"},
};

}  // namespace

foundation::Value KSNotificationKinds::userInfo(KSNotificationKind kind) {
    for (const auto& [known, name] : kNames) {
        if (known == kind)
            return foundation::Dictionary{{kUserInfoKey, name}};
    }
    return {};
}

std::optional<KSNotificationKind> KSNotificationKinds::kindOf(const foundation::Value& userInfo) {
    const auto* text = userInfo[kUserInfoKey].string();
    for (const auto& [kind, name] : kNames) {
        if (text && *text == name)
            return kind;
    }
    return std::nullopt;
}

}  // namespace corvane
