#pragma once

namespace corvane {

class PackageDetailsViewController;

// Which sections of the package page show, decided anew on every pass from what the page knows:
// a hidden section's views are hidden and its constraints switched off (or its spacings set to
// 0), the next section is re-attached under what stands above it, and the header is sized for
// the screen. Main thread.
class PackageContentLayout {
  public:
    // Spacings of a block re-attached under a label, and under a separator, collection or
    // message.
    static constexpr double kUnderLabel = 30;
    static constexpr double kUnderSeparator = 20;

    // Every section but the reviews, whose request the page makes itself.
    static void apply(PackageDetailsViewController& page);
    // The reviews list and its labels, or the no-reviews message.
    static void applyReviews(PackageDetailsViewController& page, bool hasReviews);
    // Depictions may be read: the preference to read them is on, or the network is reachable.
    static bool depictionsMayBeRead(const PackageDetailsViewController& page);
    // Depictions may be read and the package has one: a native depiction of its own, or the web
    // depiction of one of the repositories whose pages are read. The page's loading and its
    // layout ask the same question.
    static bool depictionExpected(const PackageDetailsViewController& page);
};

}  // namespace corvane
