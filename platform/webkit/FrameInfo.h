#pragma once

namespace webkit {

// A frame of a page. Pages have no subframes here, so every frame is the main frame; a
// navigation without a target frame asks for a new window.
struct FrameInfo {
    bool isMainFrame = true;
};

}  // namespace webkit
