#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Result.h"
#include "framework/tasks/KSTask.h"

namespace corvane {

// Runs after the last source refresh of a round: re-reads the dpkg status, rebuilds the
// developer records and the lists of new packages, and has APT rebuild its caches from the
// fresh indexes; then empties the database's log and gives the round's memory back.
//
// A round of refreshes that ends while a rebuild is under way needs a rebuild of its own, so
// each task has its own number; the rebuilds themselves run one at a time.
class KSInformationCacheTask : public KSTask {
  public:
    KSInformationCacheTask();

    std::string taskID() const override { return "InformationCache-" + std::to_string(number_); }
    std::string pipelineID() const override;
    std::string taskDescription() const override;

    // Each developer (the packages' maintainers, by lower-case name) gets its package count and
    // identifiers; a followed developer's packages that were not there before join its new
    // packages. Developers left without packages keep their follow state with a count of 0.
    static void rebuildDevelopers();
    // Starts building APT's caches from its lists as they are now, on a background queue. Built
    // while a refresh still stores its records, the caches are current by the time the rebuild
    // after the round comes to them.
    static void prepareAPTCaches();

  protected:
    void main() override;

  private:
    // A failure names the sources whose lists APT could not read, and marks them with it.
    static foundation::Status regenerateAPTCaches();
    static std::vector<std::string> sourcesNamedBy(const std::string& aptOutput);

    const std::uint64_t number_;
};

}  // namespace corvane
