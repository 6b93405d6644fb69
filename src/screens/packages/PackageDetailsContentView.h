#pragma once

#include "uikit/View.h"

namespace corvane {

// The long column of the package page inside its scroll view: its sections are placed from their
// constraints, it grows to the height its last section asks for, and the scroll view scrolls
// over all of it.
class PackageDetailsContentView : public uikit::View {
  public:
    using uikit::View::View;

    // Places the sections now, whatever changed: the page calls it after switching constraints
    // or changing texts, which mark only the views they touch.
    void placeSections();

    void layoutSubviews() override;
};

}  // namespace corvane
