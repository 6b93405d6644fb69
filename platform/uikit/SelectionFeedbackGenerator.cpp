#include "uikit/SelectionFeedbackGenerator.h"

#include "foundation/ProcessValue.h"

namespace uikit {

namespace {

foundation::ProcessValue<int> prepares;
foundation::ProcessValue<int> selectionChanges;

}  // namespace

void SelectionFeedbackGenerator::prepare() {
    prepares.update([](int& count) { ++count; });
}

void SelectionFeedbackGenerator::selectionChanged() {
    selectionChanges.update([](int& count) { ++count; });
}

int SelectionFeedbackGenerator::prepareCount() {
    return prepares.get();
}

int SelectionFeedbackGenerator::selectionChangedCount() {
    return selectionChanges.get();
}

}  // namespace uikit
