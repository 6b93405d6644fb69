#pragma once

#include <optional>

namespace uikit {

class View;

// The least placement that nibs built from constraint data need, in place of a solver: every
// subview of a container that does not translate its autoresizing mask gets its frame from the
// active equality constraints it holds (those whose first item is the subview itself).
//
// - Vertically: top (or, without one, bottom, then centre Y) against the container, one of its
//   layout guides or a sibling (placed first); height from a height constraint, else from the
//   view's fitting height at its width when it has an intrinsic height, else the current one.
// - Horizontally the same with leading/left, trailing/right, centre X and width.
// - Among several active constraints of one attribute the highest priority wins (the first one
//   among equals), so a nib can keep a low-priority fallback under a constraint that it
//   switches off. Inequalities are left out.
// - A bottom constraint against the container of a view that has a top constraint sizes the
//   container instead: that is the height placeSubviews answers.
//
// Constraints whose second item is outside the container are read in container coordinates. A
// circular chain places the views of the circle from their current frames.
class ConstraintPlacement {
  public:
    // Places the subviews and then their own constrained subviews; the container height that
    // the subviews' bottom constraints ask for, or nothing when none does. Main thread.
    static std::optional<double> placeSubviews(View& container);
};

}  // namespace uikit
