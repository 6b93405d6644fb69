#pragma once

namespace uikit {

// How a navigation bar or tab bar is drawn; raw values as the system numbers them.
enum class BarStyle { defaultStyle = 0, black = 1 };

}  // namespace uikit
