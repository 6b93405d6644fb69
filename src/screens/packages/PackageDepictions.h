#pragma once

#include <string>
#include <vector>

namespace corvane {

class PackageDetailsViewController;

// The depiction of the package page: the package's native depiction when it names one, else the
// web depiction of the four repositories whose pages the page reads. What a depiction yields
// (banner, name, description, changelog, screenshots) lands in the page on the main thread, for
// the appearance that asked only; every outcome, failures included, ends the page's wait for it.
class PackageDepictions {
  public:
    // Starts the depiction the package has, when depictions may be read; false when none.
    static bool read(PackageDetailsViewController& page);
    static void getSileoDepiction(PackageDetailsViewController& page);
    // Does nothing but end the wait for a package outside the four repositories.
    static void getHtmlPageForCydiaPackage(PackageDetailsViewController& page);
    // A depiction's screenshots are downloaded only while the page holds none; otherwise the
    // section shows what it has. Main thread.
    static void applyScreenshots(PackageDetailsViewController& page,
                                 std::vector<std::string> addresses);
};

}  // namespace corvane
