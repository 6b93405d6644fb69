#include "uikit/Switch.h"

#include "uikit/Canvas.h"

namespace uikit {

namespace {

const Color kOffTrack = Color(0.47, 0.47, 0.5, 0.16);
constexpr double kThumbInset = 2;

}  // namespace

Switch::Switch() {
    setFrame({0, 0, 51, 31});
}

// The switch keeps its own size wherever its frame puts it, from the frame's top left.
void Switch::draw(Canvas& canvas) {
    Rect track{bounds().origin, intrinsicContentSize()};
    double alpha = isEnabled() ? 1 : kDisabledAlpha;
    canvas.fill(track, (on_ ? onTintColor_.value_or(Color::systemGreen()) : kOffTrack).faded(alpha),
                track.height() / 2);
    double diameter = track.height() - 2 * kThumbInset;
    double x = on_ ? track.maxX() - kThumbInset - diameter : track.minX() + kThumbInset;
    Rect thumb{x, track.minY() + kThumbInset, diameter, diameter};
    canvas.fillEllipse(thumb, thumbTintColor_.value_or(Color::white()).faded(alpha));
    canvas.strokeEllipse(thumb, 0.5, Color::white(0, 0.12).faded(alpha));
}

void Switch::didTapInside(const Touch& touch) {
    on_ = !on_;
    sendActions(ControlEvent::valueChanged);
}

}  // namespace uikit
