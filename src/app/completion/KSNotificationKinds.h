#pragma once

#include <optional>
#include <string>

#include "foundation/Value.h"

namespace corvane {

// What a local notification is about. The kind travels in the notification's own content, so
// a tap opens what that notification announced, whatever else was sent since.
enum class KSNotificationKind { error, news, newSourcePackages };

class KSNotificationKinds {
  public:
    static constexpr const char* kUserInfoKey = "kind";

    static foundation::Value userInfo(KSNotificationKind kind);
    // Nullopt for content that carries no kind of ours.
    static std::optional<KSNotificationKind> kindOf(const foundation::Value& userInfo);
};

}  // namespace corvane
