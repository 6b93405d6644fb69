#pragma once

#include <optional>
#include <string>

#include "framework/storage/KSRPackage.h"
#include "screens/website/WebDepictionOutlets.h"

namespace corvane {

// The native header of the web depiction page: what the stored package says, sized for the
// screen and for sources that publish their own package information (which show a larger icon).
class WebDepictionHeader {
  public:
    // The title of this page's Get button, unlocalised, as the page always wrote it: "UPDATE"
    // for an update that is not held, "UNINSTALL" for an installed package, "GET" for a free
    // one, else the price. There is no "QUEUED" here.
    static std::string getButtonTitle(const KSRPackage& package);

    // The icon and the labels; all empty without a package.
    static void fill(WebDepictionOutlets& outlets, const std::optional<KSRPackage>& package);
    // Icon size and corners, where the buttons stand and the fonts: a small screen is one 568 or
    // 480 points high.
    static void layout(WebDepictionOutlets& outlets, bool smallScreen, bool usingInfoJson);
    // Once the header has been placed: round buttons, and on a screen that is not small, a name
    // of two lines leaves the maintainer one line that shrinks its text to fit, while after a
    // name of one line the maintainer may take two.
    static void finishPlaced(WebDepictionOutlets& outlets, bool smallScreen);

  private:
    static void placeButtonsUnderMaintainer(WebDepictionOutlets& outlets, bool under);
};

}  // namespace corvane
