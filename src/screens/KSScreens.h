#pragma once

namespace corvane {

// Registers the builder of every screen of this layer with KSScreenFactory, so that cells,
// presentations and URLs open the real screens. The application calls it once at launch; a test
// that needs the real screens calls it (the process reset removes them again).
void registerScreens();

}  // namespace corvane
