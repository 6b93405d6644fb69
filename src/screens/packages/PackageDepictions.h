#pragma once

#include <memory>
#include <string>
#include <vector>

namespace corvane {

class PackagePageModel;
class PackageScreenshots;

// The depiction of the package page: the package's native depiction when it names one, else the
// web depiction of the four repositories whose pages the page reads. What a depiction yields
// (banner, name, description, changelog, screenshots) goes to the page's model on the main
// thread, for the appearance that asked only; every outcome, failures included, ends the wait
// for it.
class PackageDepictions : public std::enable_shared_from_this<PackageDepictions> {
  public:
    PackageDepictions(std::shared_ptr<PackagePageModel> model,
                      std::shared_ptr<PackageScreenshots> screenshots);

    // Starts the depiction the package has, when one is expected.
    void read();
    void getSileoDepiction();
    // Does nothing but end the wait for a package outside the four repositories.
    void getHtmlPageForCydiaPackage();

    // A depiction's screenshots are downloaded only while the page holds none; otherwise the
    // section shows what it has. Main thread.
    void applyScreenshots(std::vector<std::string> addresses);

  private:
    std::shared_ptr<PackagePageModel> model_;
    std::shared_ptr<PackageScreenshots> screenshots_;
};

}  // namespace corvane
