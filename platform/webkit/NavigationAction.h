#pragma once

#include <optional>
#include <utility>

#include "foundation/URLRequest.h"
#include "webkit/FrameInfo.h"
#include "webkit/NavigationType.h"

namespace webkit {

// A navigation about to happen, as the navigation delegate is asked about it.
struct NavigationAction {
    explicit NavigationAction(foundation::URLRequest request,
                              NavigationType navigationType = NavigationType::other)
        : request(std::move(request)), navigationType(navigationType) {}

    foundation::URLRequest request;
    NavigationType navigationType = NavigationType::other;
    // None when the navigation asks for a new window (a link with target "_blank").
    std::optional<FrameInfo> targetFrame = FrameInfo{};
    FrameInfo sourceFrame;
};

}  // namespace webkit
