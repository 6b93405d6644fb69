#pragma once

namespace uikit {

// Haptic feedback for a change of selection. No motor here: it counts, so tests can see it.
class SelectionFeedbackGenerator {
  public:
    void prepare() { ++prepareCount_; }
    void selectionChanged() { ++selectionChangedCount_; }

    static int prepareCount() { return prepareCount_; }
    static int selectionChangedCount() { return selectionChangedCount_; }
    static void resetCounts() { prepareCount_ = selectionChangedCount_ = 0; }

  private:
    static inline int prepareCount_ = 0;
    static inline int selectionChangedCount_ = 0;
};

}  // namespace uikit
