#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "uikit/Image.h"

namespace corvane {

class PackagePageModel;
class PackageScreenshotBatches;

// The screenshots of the package page: read from the files the page cached on an earlier visit,
// or downloaded in batches. A batch numbers its images 1, 2, ... in the order of their
// addresses, without gaps, and ends once, when its last download has answered, whatever that
// answer: it writes the cache files, then the stored addresses and file paths together in one
// write, and hands the images to the page's model on the main thread. A batch loads no more than
// kMaximumScreenshots addresses: a page lists tens of thousands as easily as three, and each is
// a download and an image held. It never clears what is stored on a failure that may pass (no
// network, a time-out, the server's trouble), and writes only
// while the stored addresses are still the ones it started from. A package whose identifier is
// no package name is never cached: the identifier names the files.
class PackageScreenshots {
  public:
    static constexpr double kCornerRadius = 15;
    static constexpr std::size_t kMaximumScreenshots = 20;

    // The cache file of image number of the package.
    static std::string cachePath(const std::string& identifier, int number);

    explicit PackageScreenshots(std::shared_ptr<PackagePageModel> model);

    // On each appearance, from the model's copy of the stored package: the cached files when
    // there is one for each address, else a download batch. Main thread.
    void load();
    // The screenshots a depiction lists take the place of the stored ones; false when there is
    // no batch to wait for. Main thread.
    bool replace(std::vector<std::string> addresses);

    // What a batch leaves for the page.
    struct Outcome {
        std::uint64_t batch = 0;
        // Rounded, numbered from 1.
        std::vector<std::shared_ptr<uikit::Image>> images;
        // The stored lists were written: these are now the stored values.
        bool stored = false;
        std::vector<std::string> addresses;
        std::vector<std::string> localPaths;
        // Every address failed for good, so the stored list is empty now.
        bool cleared = false;
    };

  private:
    std::shared_ptr<PackagePageModel> model_;
    std::shared_ptr<PackageScreenshotBatches> batches_;
};

}  // namespace corvane
