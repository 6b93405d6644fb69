#pragma once

#include "foundation/HTTPURLResponse.h"

namespace webkit {

// The answer that arrived for a navigation, before the page is shown.
struct NavigationResponse {
    foundation::HTTPURLResponse response;
    bool isForMainFrame = true;
};

}  // namespace webkit
