#include "uikit/ConstraintPlacement.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <map>
#include <memory>

#include "uikit/View.h"

namespace uikit {

namespace {

using Attribute = LayoutAttribute;

double edge(const Rect& rect, Attribute attribute) {
    switch (attribute) {
        case Attribute::top:
            return rect.minY();
        case Attribute::bottom:
        case Attribute::lastBaseline:
            return rect.maxY();
        case Attribute::centerY:
            return rect.midY();
        case Attribute::left:
        case Attribute::leading:
            return rect.minX();
        case Attribute::right:
        case Attribute::trailing:
            return rect.maxX();
        case Attribute::centerX:
            return rect.midX();
        case Attribute::width:
            return rect.width();
        case Attribute::height:
            return rect.height();
        case Attribute::firstBaseline:
            return rect.minY();
        case Attribute::notAnAttribute:
            break;
    }
    return 0;
}

bool constrainsSubviews(const View& view) {
    for (const auto& subview : view.subviews())
        if (!subview->translatesAutoresizingMaskIntoConstraints())
            return true;
    return false;
}

// One pass over one container; remembers which subviews are placed so that a sibling named by
// a constraint is placed before it is read.
class Placer {
  public:
    explicit Placer(View& container) : container_(container) {}

    std::optional<double> run() {
        for (const auto& subview : std::vector(container_.subviews()))
            if (!subview->translatesAutoresizingMaskIntoConstraints())
                place(*subview);
        return fittingHeight_;
    }

  private:
    enum class State { placing, placed };

    void place(View& view) {
        if (states_.contains(&view))
            return;
        states_[&view] = State::placing;
        const Rect current = view.frame();
        auto [x, width] = horizontal(view, current);
        auto [y, height] = vertical(view, current, width);
        view.setFrame({x, y, width, height});
        states_[&view] = State::placed;
        if (constrainsSubviews(view))
            ConstraintPlacement::placeSubviews(view);
    }

    std::pair<double, double> horizontal(View& view, const Rect& current) {
        auto width = target(view, {Attribute::width});
        auto leading = target(view, {Attribute::leading, Attribute::left});
        auto trailing = target(view, {Attribute::trailing, Attribute::right});
        auto center = target(view, {Attribute::centerX});
        if (!width && leading && trailing)
            width = *trailing - *leading;
        if (!width) {
            const double intrinsic = view.intrinsicContentSize().width;
            width = intrinsic != View::kNoIntrinsicMetric ? intrinsic : current.width();
        }
        if (leading)
            return {*leading, *width};
        if (trailing)
            return {*trailing - *width, *width};
        if (center)
            return {*center - *width / 2, *width};
        return {current.minX(), *width};
    }

    std::pair<double, double> vertical(View& view, const Rect& current, double width) {
        auto height = target(view, {Attribute::height});
        auto top = target(view, {Attribute::top});
        const LayoutConstraint* bottomConstraint = best(view, {Attribute::bottom});
        std::optional<double> bottom;
        if (bottomConstraint && !(top && bottomConstraint->secondItem() == &container_))
            bottom = value(*bottomConstraint);
        auto center = target(view, {Attribute::centerY});
        if (!height && top && bottom)
            height = *bottom - *top;
        if (!height) {
            const bool intrinsic = view.intrinsicContentSize().height != View::kNoIntrinsicMetric;
            height = intrinsic
                         ? view.sizeThatFits({width, std::numeric_limits<double>::max()}).height
                         : current.height();
        }
        double y = current.minY();
        if (top)
            y = *top;
        else if (bottom)
            y = *bottom - *height;
        else if (center)
            y = *center - *height / 2;
        if (top && bottomConstraint && bottomConstraint->secondItem() == &container_ &&
            bottomConstraint->multiplier() != 0)
            noteFittingHeight((y + *height - bottomConstraint->constant()) /
                              bottomConstraint->multiplier());
        return {y, *height};
    }

    void noteFittingHeight(double height) {
        fittingHeight_ = fittingHeight_ ? std::max(*fittingHeight_, height) : height;
    }

    // The active equality constraint of the view on one of the attributes with the highest
    // priority, the first among equals.
    static const LayoutConstraint* best(const View& view, std::initializer_list<Attribute> of) {
        const LayoutConstraint* chosen = nullptr;
        for (const auto& constraint : view.constraints()) {
            if (constraint->firstItem() != &view || !constraint->isActive() ||
                constraint->relation() != LayoutRelation::equal)
                continue;
            bool named = false;
            for (Attribute attribute : of)
                named = named || constraint->firstAttribute() == attribute;
            if (named && (!chosen || constraint->priority() > chosen->priority()))
                chosen = constraint.get();
        }
        return chosen;
    }

    std::optional<double> target(View& view, std::initializer_list<Attribute> of) {
        const LayoutConstraint* constraint = best(view, of);
        if (!constraint)
            return std::nullopt;
        return value(*constraint);
    }

    std::optional<double> value(const LayoutConstraint& constraint) {
        LayoutItem* second = constraint.secondItem();
        if (!second)
            return constraint.constant();
        auto anchor = anchorRect(*second);
        if (!anchor)
            return std::nullopt;
        return edge(*anchor, constraint.secondAttribute()) * constraint.multiplier() +
               constraint.constant();
    }

    // The item's rectangle in the container's coordinates.
    std::optional<Rect> anchorRect(LayoutItem& item) {
        View* owner = item.owningView();
        if (&item == &container_)
            return Rect{0, 0, container_.bounds().width(), container_.bounds().height()};
        if (owner == &container_)
            return item.layoutFrame();
        const bool isView = owner == &item;
        if (isView && owner->superviewPtr() == &container_ &&
            !owner->translatesAutoresizingMaskIntoConstraints())
            place(*owner);
        View* base = isView ? owner->superviewPtr() : owner;
        if (!base)
            return std::nullopt;
        return base->convertRectTo(item.layoutFrame(), &container_);
    }

    View& container_;
    std::map<const View*, State> states_;
    std::optional<double> fittingHeight_;
};

}  // namespace

std::optional<double> ConstraintPlacement::placeSubviews(View& container) {
    return Placer(container).run();
}

}  // namespace uikit
