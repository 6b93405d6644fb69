#pragma once

namespace webkit {

// A delegate's answer about a navigation or a response.
enum class NavigationPolicy { cancel, allow };

}  // namespace webkit
