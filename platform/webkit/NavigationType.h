#pragma once

namespace webkit {

// Why a navigation happens.
enum class NavigationType { linkActivated, backForward, reload, other };

}  // namespace webkit
