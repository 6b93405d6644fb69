#include "webkit/WebViewConfiguration.h"

namespace webkit {

std::string WebViewConfiguration::userAgent() const {
    if (applicationNameForUserAgent.empty())
        return kBaseUserAgent;
    return std::string(kBaseUserAgent) + " " + applicationNameForUserAgent;
}

}  // namespace webkit
