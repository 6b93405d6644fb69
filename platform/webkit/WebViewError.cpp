#include "webkit/WebViewError.h"

namespace webkit {

foundation::Error WebViewError::make(Code code) {
    switch (code) {
        case JavaScriptUnavailable:
            return foundation::Error::make(kDomain, code, "JavaScript is not available");
        case FrameLoadInterruptedByPolicyChange:
            return foundation::Error::make(kDomain, code, "Frame load interrupted");
    }
    return foundation::Error::make(kDomain, code);
}

}  // namespace webkit
