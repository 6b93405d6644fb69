#include "uikit/VisualEffectView.h"

#include "uikit/Canvas.h"
#include "uikit/Material.h"

namespace uikit {

VisualEffectView::VisualEffectView(std::optional<BlurEffectStyle> effect)
    : effect_(effect), contentView_(std::make_shared<View>()) {
    contentView_->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);
    addSubview(contentView_);
}

void VisualEffectView::layoutSubviews() {
    contentView_->setFrame(bounds());
}

void VisualEffectView::draw(Canvas& canvas) {
    if (effect_)
        canvas.fill(bounds(), Material::blur(*effect_));
}

}  // namespace uikit
