#include "uikit/VisualEffectView.h"

namespace uikit {

VisualEffectView::VisualEffectView(std::optional<BlurEffectStyle> effect)
    : effect_(effect), contentView_(std::make_shared<View>()) {
    contentView_->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);
    addSubview(contentView_);
}

void VisualEffectView::layoutSubviews() {
    contentView_->setFrame(bounds());
}

}  // namespace uikit
