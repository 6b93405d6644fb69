#include "uikit/ActivityIndicatorView.h"

#include <cmath>
#include <numbers>

#include "uikit/Canvas.h"

namespace uikit {

namespace {
constexpr int kSpokes = 8;
}  // namespace

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorStyle style) : style_(style) {
    if (style == ActivityIndicatorStyle::white || style == ActivityIndicatorStyle::whiteLarge)
        color_ = Color::white();
    setFrame({{0, 0}, intrinsicContentSize()});
    setHidden(true);
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    if (!animating_)
        setHidden(hides);
}

void ActivityIndicatorView::startAnimating() {
    animating_ = true;
    setHidden(false);
}

void ActivityIndicatorView::stopAnimating() {
    animating_ = false;
    if (hidesWhenStopped_)
        setHidden(true);
}

Size ActivityIndicatorView::intrinsicContentSize() const {
    bool large =
        style_ == ActivityIndicatorStyle::large || style_ == ActivityIndicatorStyle::whiteLarge;
    return large ? Size{37, 37} : Size{20, 20};
}

// Spokes around the centre, fading one after another as the spinner turns.
void ActivityIndicatorView::draw(Canvas& canvas) {
    Size size = intrinsicContentSize();
    Point centre = bounds().center();
    double outer = size.width / 2, inner = outer / 2, width = outer / 4;
    for (int spoke = 0; spoke < kSpokes; ++spoke) {
        double angle = 2 * std::numbers::pi * spoke / kSpokes;
        double dx = std::sin(angle), dy = -std::cos(angle);
        double fade = 1 - 0.7 * spoke / kSpokes;
        canvas.strokeLines(
            {{centre.x + dx * inner, centre.y + dy * inner},
             {centre.x + dx * (outer - width / 2), centre.y + dy * (outer - width / 2)}},
            width, color_.faded(fade));
    }
}

std::string ActivityIndicatorView::describeSelf() const {
    return animating_ ? "ActivityIndicator animating" : "ActivityIndicator";
}

}  // namespace uikit
