#include "uikit/ImpactFeedbackGenerator.h"

#include <array>

#include "foundation/ProcessValue.h"

namespace uikit {

namespace {

foundation::ProcessValue<std::array<int, 3>> counts;

}  // namespace

void ImpactFeedbackGenerator::impactOccurred() {
    counts.update([this](std::array<int, 3>& each) { ++each[static_cast<int>(style_)]; });
}

int ImpactFeedbackGenerator::impactCount(ImpactFeedbackStyle style) {
    return counts.get()[static_cast<int>(style)];
}

}  // namespace uikit
