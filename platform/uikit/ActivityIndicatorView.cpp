#include "uikit/ActivityIndicatorView.h"

namespace uikit {

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

std::string ActivityIndicatorView::describeSelf() const {
    return animating_ ? "ActivityIndicator animating" : "ActivityIndicator";
}

}  // namespace uikit
