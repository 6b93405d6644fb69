#include "uikit/View.h"

#include <algorithm>
#include <cmath>

#include "uikit/GestureRecognizer.h"
#include "uikit/LayoutPass.h"

namespace uikit {

namespace {

AffineTransform inverted(const AffineTransform& t) {
    double determinant = t.a * t.d - t.b * t.c;
    if (determinant == 0)
        return t;
    AffineTransform r{
        t.d / determinant, -t.b / determinant, -t.c / determinant, t.a / determinant, 0, 0};
    r.tx = -(t.tx * r.a + t.ty * r.c);
    r.ty = -(t.tx * r.b + t.ty * r.d);
    return r;
}

// One axis of autoresizing: the flexible parts share the change in proportion to their size.
void resizeAxis(double delta, bool flexLead, bool flexSize, bool flexTrail, double lead,
                double& origin, double& size, double trail) {
    double parts[] = {flexLead ? lead : -1, flexSize ? size : -1, flexTrail ? trail : -1};
    int count = 0;
    double total = 0;
    for (double p : parts)
        if (p >= 0) {
            ++count;
            total += p;
        }
    if (count == 0)
        return;
    auto share = [&](double part) { return total > 0 ? delta * part / total : delta / count; };
    if (flexLead)
        origin += share(lead);
    if (flexSize)
        size = std::max(0.0, size + share(size));
}

}  // namespace

View::View(const Rect& frame) {
    setFrame(frame);
}

View::~View() {
    for (auto& subview : subviews_)
        subview->superview_ = nullptr;
    for (auto& recognizer : gestureRecognizers_)
        recognizer->view_ = nullptr;
    for (auto& constraint : constraints_)
        constraint->holderWentAway();
}

// Geometry

Rect View::frame() const {
    Rect local{{-bounds_.size.width / 2, -bounds_.size.height / 2}, bounds_.size};
    Rect transformed = transform_.isIdentity() ? local : transform_.apply(local);
    return transformed.offsetBy(center_.x, center_.y);
}

void View::setFrame(const Rect& frame) {
    center_ = frame.center();
    Rect old = bounds_;
    Size size{frame.width(), frame.height()};
    if (!transform_.isIdentity()) {
        // The frame is the transformed box; keep the untransformed size in the bounds.
        Rect unit = transform_.apply(Rect{0, 0, 1, 1});
        if (unit.width() > 0)
            size.width /= unit.width();
        if (unit.height() > 0)
            size.height /= unit.height();
    }
    bounds_.size = size;
    if (old.size != bounds_.size)
        boundsDidChange(old);
}

void View::setBounds(const Rect& bounds) {
    Rect old = bounds_;
    bounds_ = bounds;
    if (old != bounds_)
        boundsDidChange(old);
}

void View::boundsDidChange(const Rect& oldBounds) {
    if (oldBounds.size == bounds_.size)
        return;
    resizeSubviews(oldBounds.size);
    setNeedsLayout();
}

void View::setCenter(Point center) {
    center_ = center;
}

void View::setTransform(const AffineTransform& transform) {
    transform_ = transform;
}

void View::resizeSubviews(Size oldSize) {
    if (!autoresizesSubviews_)
        return;
    double dw = bounds_.size.width - oldSize.width;
    double dh = bounds_.size.height - oldSize.height;
    for (auto& sub : subviews_) {
        AutoresizingMask m = sub->autoresizingMask_;
        if (!sub->translatesAutoresizing_ || m == Autoresizing::none)
            continue;
        Rect f = sub->frame();
        double x = f.origin.x, y = f.origin.y, w = f.size.width, h = f.size.height;
        resizeAxis(dw, m & Autoresizing::flexibleLeftMargin, m & Autoresizing::flexibleWidth,
                   m & Autoresizing::flexibleRightMargin, x, x, w, oldSize.width - x - w);
        resizeAxis(dh, m & Autoresizing::flexibleTopMargin, m & Autoresizing::flexibleHeight,
                   m & Autoresizing::flexibleBottomMargin, y, y, h, oldSize.height - y - h);
        sub->setFrame({x, y, w, h});
    }
}

Point View::convertPointTo(Point point, const View* other) const {
    // Up to the root, then down to the other view.
    Point p = point;
    for (const View* v = this; v->superview_; v = v->superview_) {
        Point local{p.x - v->bounds_.origin.x - v->bounds_.size.width / 2,
                    p.y - v->bounds_.origin.y - v->bounds_.size.height / 2};
        Point moved = v->transform_.apply(local);
        p = {moved.x + v->center_.x, moved.y + v->center_.y};
    }
    return other ? other->convertPointFrom(p, nullptr) : p;
}

Point View::convertPointFrom(Point point, const View* other) const {
    Point p = other ? other->convertPointTo(point, nullptr) : point;
    std::vector<const View*> chain;
    for (const View* v = this; v->superview_; v = v->superview_)
        chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const View* v = *it;
        Point local = inverted(v->transform_).apply(Point{p.x - v->center_.x, p.y - v->center_.y});
        p = {local.x + v->bounds_.origin.x + v->bounds_.size.width / 2,
             local.y + v->bounds_.origin.y + v->bounds_.size.height / 2};
    }
    return p;
}

Rect View::convertRectTo(const Rect& rect, const View* other) const {
    Point a = convertPointTo({rect.minX(), rect.minY()}, other);
    Point b = convertPointTo({rect.maxX(), rect.maxY()}, other);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
}

// Appearance

void View::setAlpha(double alpha) {
    alpha_ = std::isnan(alpha) ? 0 : std::clamp(alpha, 0.0, 1.0);
}

void View::setHidden(bool hidden) {
    if (hidden_ == hidden)
        return;
    hidden_ = hidden;
    // A container arranging its subviews (a stack view) gives the room to the others.
    if (superview_)
        superview_->setNeedsLayout();
}

Color View::tintColor() const {
    for (const View* v = this; v; v = v->superview_)
        if (v->tintColor_)
            return *v->tintColor_;
    return Color::systemBlue();
}

void View::setTintColor(std::optional<Color> color) {
    if (tintColor_ == color)
        return;
    tintColor_ = color;
    propagateTintChange();
}

void View::propagateTintChange() {
    tintColorDidChange();
    for (auto& sub : std::vector(subviews_))
        if (!sub->tintColor_)
            sub->propagateTintChange();
}

bool View::isHiddenInTree() const {
    for (const View* v = this; v; v = v->superview_)
        if (v->hidden_ || v->alpha_ < kInvisibleAlpha)
            return true;
    return false;
}

std::shared_ptr<View> View::viewWithTag(int tag) {
    if (tag_ == tag)
        return shared_from_this();
    for (auto& sub : subviews_)
        if (auto found = sub->viewWithTag(tag))
            return found;
    return nullptr;
}

// The tree

std::shared_ptr<View> View::superview() const {
    return superview_ ? superview_->weak_from_this().lock() : nullptr;
}

void View::addSubview(const std::shared_ptr<View>& view) {
    attach(view, subviews_.size());
}

void View::insertSubview(const std::shared_ptr<View>& view, std::size_t index) {
    attach(view, index);
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [&](const auto& s) { return s.get() == sibling; });
    attach(view, static_cast<std::size_t>(it - subviews_.begin()));
}

void View::insertSubviewAbove(const std::shared_ptr<View>& view, const View* sibling) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [&](const auto& s) { return s.get() == sibling; });
    std::size_t index = it == subviews_.end() ? subviews_.size() : it - subviews_.begin() + 1;
    attach(view, index);
}

void View::attach(const std::shared_ptr<View>& view, std::size_t index) {
    if (!view || view.get() == this || isDescendantOf(view.get()))
        return;
    std::shared_ptr<View> keep = view;
    bool moving = view->superview_ != this;
    if (!moving) {
        // Re-adding a subview moves it within the list.
        auto it = std::find(subviews_.begin(), subviews_.end(), view);
        std::size_t old = static_cast<std::size_t>(it - subviews_.begin());
        subviews_.erase(it);
        if (index > old)
            --index;
        subviews_.insert(subviews_.begin() + static_cast<long>(std::min(index, subviews_.size())),
                         keep);
        return;
    }
    view->willMoveToSuperview(this);
    view->detachFromSuperview();
    subviews_.insert(subviews_.begin() + static_cast<long>(std::min(index, subviews_.size())),
                     keep);
    view->superview_ = this;
    view->didMoveToSuperview();
    didAddSubview(view.get());
    if (window())
        view->notifyMovedToWindow();
    if (!view->tintColor_)
        view->propagateTintChange();
    if (view->needsLayout_)
        view->setNeedsLayout();
}

void View::detachFromSuperview() {
    View* parent = superview_;
    if (!parent)
        return;
    parent->willRemoveSubview(this);
    std::shared_ptr<View> keep = shared_from_this();
    bool hadWindow = static_cast<bool>(window());
    std::erase_if(parent->subviews_, [this](const auto& s) { return s.get() == this; });
    superview_ = nullptr;
    if (hadWindow)
        notifyMovedToWindow();
}

void View::removeFromSuperview() {
    if (!superview_)
        return;
    willMoveToSuperview(nullptr);
    std::shared_ptr<View> keep = shared_from_this();
    detachFromSuperview();
    endEditing();
    didMoveToSuperview();
}

void View::notifyMovedToWindow() {
    didMoveToWindow();
    for (auto& sub : std::vector(subviews_))
        sub->notifyMovedToWindow();
}

void View::bringSubviewToFront(const View* view) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [&](const auto& s) { return s.get() == view; });
    if (it == subviews_.end())
        return;
    std::rotate(it, it + 1, subviews_.end());
}

void View::sendSubviewToBack(const View* view) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [&](const auto& s) { return s.get() == view; });
    if (it == subviews_.end())
        return;
    std::rotate(subviews_.begin(), it, it + 1);
}

bool View::isDescendantOf(const View* ancestor) const {
    for (const View* v = this; v; v = v->superview_)
        if (v == ancestor)
            return true;
    return false;
}

std::shared_ptr<View> View::window() const {
    for (const View* v = this; v; v = v->superview_)
        if (v->isWindow())
            return const_cast<View*>(v)->weak_from_this().lock();
    return nullptr;
}

std::shared_ptr<ViewController> View::nearestViewController() const {
    for (const View* v = this; v; v = v->superview_)
        if (auto controller = v->owningController_.lock())
            return controller;
    return nullptr;
}

// Gestures

void View::addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) {
    if (!recognizer || recognizer->view_ == this)
        return;
    if (recognizer->view_)
        recognizer->view_->removeGestureRecognizer(recognizer.get());
    recognizer->view_ = this;
    gestureRecognizers_.push_back(recognizer);
}

void View::removeGestureRecognizer(const GestureRecognizer* recognizer) {
    auto it = std::find_if(gestureRecognizers_.begin(), gestureRecognizers_.end(),
                           [&](const auto& r) { return r.get() == recognizer; });
    if (it == gestureRecognizers_.end())
        return;
    (*it)->view_ = nullptr;
    gestureRecognizers_.erase(it);
}

// Insets and margins

EdgeInsets View::safeAreaInsets() const {
    if (safeAreaInsets_)
        return *safeAreaInsets_;
    if (!superview_)
        return {};
    EdgeInsets outer = superview_->safeAreaInsetsForSubview(*this);
    Rect area = superview_->bounds_.inset(outer);
    Rect f = frame();
    auto clampTo = [](double v, double limit) { return std::clamp(v, 0.0, std::max(0.0, limit)); };
    return {clampTo(area.minY() - f.minY(), f.height()), clampTo(area.minX() - f.minX(), f.width()),
            clampTo(f.maxY() - area.maxY(), f.height()),
            clampTo(f.maxX() - area.maxX(), f.width())};
}

void View::setSafeAreaInsets(std::optional<EdgeInsets> insets) {
    safeAreaInsets_ = insets;
    setNeedsLayout();
}

void View::setLayoutMargins(const EdgeInsets& margins) {
    layoutMargins_ = margins;
    setNeedsLayout();
}

LayoutGuide& View::safeAreaLayoutGuide() {
    if (!safeAreaGuide_)
        safeAreaGuide_ = std::make_unique<LayoutGuide>(this, LayoutGuide::Kind::safeArea);
    return *safeAreaGuide_;
}

LayoutGuide& View::layoutMarginsGuide() {
    if (!marginsGuide_)
        marginsGuide_ = std::make_unique<LayoutGuide>(this, LayoutGuide::Kind::layoutMargins);
    return *marginsGuide_;
}

// Constraints

void View::addConstraint(const std::shared_ptr<LayoutConstraint>& constraint) {
    if (!constraint ||
        std::find(constraints_.begin(), constraints_.end(), constraint) != constraints_.end())
        return;
    constraints_.push_back(constraint);
    constraint->active_ = true;
    setNeedsLayout();
}

void View::removeConstraint(const std::shared_ptr<LayoutConstraint>& constraint) {
    auto it = std::find(constraints_.begin(), constraints_.end(), constraint);
    if (it == constraints_.end())
        return;
    constraints_.erase(it);
    constraint->active_ = false;
    setNeedsLayout();
}

std::vector<std::shared_ptr<LayoutConstraint>> View::constraintsAffecting(const View* view) const {
    std::vector<std::shared_ptr<LayoutConstraint>> found;
    for (const auto& c : constraints_)
        if (c->involves(view) ||
            (view->safeAreaGuide_ && c->involves(view->safeAreaGuide_.get())) ||
            (view->marginsGuide_ && c->involves(view->marginsGuide_.get())))
            found.push_back(c);
    for (const auto& sub : subviews_) {
        auto more = sub->constraintsAffecting(view);
        found.insert(found.end(), more.begin(), more.end());
    }
    return found;
}

// Layout

void View::setNeedsLayout() {
    needsLayout_ = true;
    if (!layoutQueued_)
        layoutQueued_ = LayoutPass::request(*this);
}

void View::layoutIfNeeded() {
    if (inLayout_)
        return;
    if (const auto safe = safeAreaInsets(); safe != laidOutSafeAreaInsets_) {
        laidOutSafeAreaInsets_ = safe;
        safeAreaInsetsDidChange();
    }
    if (needsLayout_) {
        needsLayout_ = false;
        inLayout_ = true;
        std::shared_ptr<View> keep = weak_from_this().lock();
        layoutSubviews();
        inLayout_ = false;
    }
    for (auto& sub : std::vector(subviews_))
        sub->layoutIfNeeded();
}

void View::invalidateIntrinsicContentSize() {
    setNeedsLayout();
    if (superview_)
        superview_->setNeedsLayout();
}

void View::sizeToFit() {
    Size size = sizeThatFits(bounds_.size);
    Rect f = frame();
    setFrame({f.origin, size});
}

Size View::systemLayoutSizeFitting(Size target) const {
    Size intrinsic = intrinsicContentSize();
    if (intrinsic.width != kNoIntrinsicMetric && intrinsic.height != kNoIntrinsicMetric)
        return intrinsic;
    double bottom = 0;
    for (const auto& sub : subviews_) {
        if (sub->hidden_)
            continue;
        Rect f = sub->frame();
        double height = f.height();
        if (sub->intrinsicContentSize().height != kNoIntrinsicMetric)
            height = sub->systemLayoutSizeFitting({f.width(), target.height}).height;
        else if (!sub->subviews_.empty())
            height =
                std::max(height, sub->systemLayoutSizeFitting({f.width(), target.height}).height);
        bottom = std::max(bottom, f.minY() + height + sub->layoutMargins_.bottom);
    }
    return {target.width, subviews_.empty() ? bounds_.size.height : bottom};
}

// Touches

std::shared_ptr<View> View::hitTest(Point point) {
    if (!userInteractionEnabled_ || hidden_ || alpha_ < kInvisibleAlpha)
        return nullptr;
    if (!pointInside(point))
        return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        View& sub = **it;
        Point local =
            inverted(sub.transform_).apply(Point{point.x - sub.center_.x, point.y - sub.center_.y});
        local = {local.x + sub.bounds_.origin.x + sub.bounds_.size.width / 2,
                 local.y + sub.bounds_.origin.y + sub.bounds_.size.height / 2};
        if (auto hit = sub.hitTest(local))
            return hit;
    }
    return weak_from_this().lock();
}

// Description

std::string View::describe(bool withFrames) const {
    if (isHiddenInTree())
        return {};
    std::string out;
    describeInto(out, 0, withFrames);
    return out;
}

void View::describeInto(std::string& out, int depth, bool withFrames) const {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += describeSelf();
    if (withFrames)
        out += " " + frame().toString();
    out += '\n';
    for (const auto& sub : subviews_)
        if (!sub->hidden_ && sub->alpha_ >= kInvisibleAlpha && describesSubview(*sub))
            sub->describeInto(out, depth + 1, withFrames);
}

// Traits

void View::propagateTraitCollectionChange() {
    traitCollectionDidChange();
    for (auto& sub : std::vector(subviews_))
        sub->propagateTraitCollectionChange();
}

}  // namespace uikit
