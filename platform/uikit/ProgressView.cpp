#include "uikit/ProgressView.h"

#include <algorithm>
#include <cmath>

namespace uikit {

void ProgressView::setProgress(double progress, bool animated) {
    progress_ = std::isnan(progress) ? 0 : std::clamp(progress, 0.0, 1.0);
}

std::string ProgressView::describeSelf() const {
    return "ProgressView " + std::to_string(static_cast<int>(std::lround(progress_ * 100))) + "%";
}

}  // namespace uikit
