#include "uikit/ProgressView.h"

#include <algorithm>
#include <cmath>

#include "uikit/Canvas.h"

namespace uikit {

namespace {
const Color kTrack = Color(0.47, 0.47, 0.5, 0.2);
}  // namespace

void ProgressView::setProgress(double progress, bool animated) {
    progress_ = std::isnan(progress) ? 0 : std::clamp(progress, 0.0, 1.0);
}

void ProgressView::draw(Canvas& canvas) {
    const Rect& track = bounds();
    double radius = track.height() / 2;
    if (style_ == ProgressViewStyle::standard || trackTint_)
        canvas.fill(track, trackTint_.value_or(kTrack), radius);
    Rect done{track.minX(), track.minY(), track.width() * progress_, track.height()};
    if (progress_ > 0)
        canvas.fill(done, progressTint_.value_or(tintColor()), radius);
}

std::string ProgressView::describeSelf() const {
    return "ProgressView " + std::to_string(static_cast<int>(std::lround(progress_ * 100))) + "%";
}

}  // namespace uikit
