#pragma once

namespace usernotifications {

// Bit sets, combined with |.
using AuthorizationOptions = unsigned;
using PresentationOptions = unsigned;

enum AuthorizationOption : AuthorizationOptions {
    AuthorizationOptionBadge = 1 << 0,
    AuthorizationOptionSound = 1 << 1,
    AuthorizationOptionAlert = 1 << 2,
};

enum PresentationOption : PresentationOptions {
    PresentationOptionBadge = 1 << 0,
    PresentationOptionSound = 1 << 1,
    PresentationOptionAlert = 1 << 2,
};

}  // namespace usernotifications
