#pragma once

namespace uikit {

// Haptic feedback for a change of selection. No motor here: it counts since the process started
// (or was last reset), so tests can see it.
class SelectionFeedbackGenerator {
  public:
    void prepare();
    void selectionChanged();

    static int prepareCount();
    static int selectionChangedCount();
};

}  // namespace uikit
