#pragma once

#include <memory>
#include <string>

#include "uikit/AttributedString.h"
#include "uikit/Font.h"

typedef struct _PangoLayout PangoLayout;

namespace uikit {

// Pango layouts of attributed text, on a per-thread font map (Pango's maps must not be shared
// between threads), one point to one unit and unhinted, so that text takes the same room at
// whatever scale it is drawn.
class PangoText {
  public:
    struct LayoutDeleter {
        void operator()(PangoLayout* layout) const;
    };
    using Layout = std::unique_ptr<PangoLayout, LayoutDeleter>;

    // Colours only matter to drawing; measuring leaves them out.
    static Layout makeLayout(const AttributedString& text, const Font& defaultFont,
                             bool withColors = false);
    // Wraps at the width (a point at least), inside words where the mode allows it.
    static void wrap(PangoLayout* layout, double width, LineBreakMode mode);
    // What does not fit on a paragraph's one line is cut as the truncating mode says.
    static void truncateToOneLine(PangoLayout* layout, LineBreakMode mode);
    static bool hasFamily(const std::string& family);

    static int units(double points);
    static double points(int units);
};

}  // namespace uikit
