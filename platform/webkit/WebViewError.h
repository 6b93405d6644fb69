#pragma once

#include "foundation/Error.h"

namespace webkit {

// Errors of the web views themselves; loading errors come in URLError's domain.
class WebViewError {
  public:
    static constexpr const char* kDomain = "WebViewErrorDomain";

    enum Code : long {
        // evaluateJavaScript without a script hook: there is no script engine.
        JavaScriptUnavailable = 1,
        // The navigation delegate refused the response.
        FrameLoadInterruptedByPolicyChange = 102,
    };

    static foundation::Error make(Code code);
};

}  // namespace webkit
