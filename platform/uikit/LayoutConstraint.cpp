#include "uikit/LayoutConstraint.h"

#include "uikit/View.h"

namespace uikit {

std::shared_ptr<LayoutConstraint> LayoutConstraint::make(const LayoutItem* firstItem,
                                                         LayoutAttribute firstAttribute,
                                                         LayoutRelation relation,
                                                         const LayoutItem* secondItem,
                                                         LayoutAttribute secondAttribute,
                                                         double multiplier, double constant) {
    std::shared_ptr<LayoutConstraint> c(new LayoutConstraint());
    c->firstItem_ = LayoutItemReference(firstItem);
    c->firstAttribute_ = firstAttribute;
    c->relation_ = relation;
    c->secondItem_ = LayoutItemReference(secondItem);
    c->secondAttribute_ = secondItem ? secondAttribute : LayoutAttribute::notAnAttribute;
    c->multiplier_ = multiplier;
    c->constant_ = constant;
    return c;
}

void LayoutConstraint::activate(const std::vector<std::shared_ptr<LayoutConstraint>>& constraints) {
    for (const auto& c : constraints)
        if (c)
            c->setActive(true);
}

void LayoutConstraint::deactivate(
    const std::vector<std::shared_ptr<LayoutConstraint>>& constraints) {
    for (const auto& c : constraints)
        if (c)
            c->setActive(false);
}

void LayoutConstraint::setConstant(double constant) {
    if (constant_ == constant)
        return;
    constant_ = constant;
    if (LayoutItem* item = firstItem(); item && active_)
        item->owningView()->setNeedsLayout();
}

void LayoutConstraint::setActive(bool active) {
    if (active == active_)
        return;
    LayoutItem* item = firstItem();
    if (!item) {
        active_ = false;
        return;
    }
    // The holder keeps an active constraint alive; the caller's reference keeps an inactive one.
    std::shared_ptr<LayoutConstraint> self = shared_from_this();
    if (active)
        item->owningView()->addConstraint(self);
    else
        item->owningView()->removeConstraint(self);
}

bool LayoutConstraint::involves(const LayoutItem* item) const {
    return item && (firstItem() == item || secondItem() == item);
}

}  // namespace uikit
