#pragma once

#include <filesystem>
#include <string>

#include "LoopbackRepository.h"

namespace corvane::bench {

// A device root that the program itself has given a source of kIndexStanzas packages of the
// distribution's shape: launched on a fresh root with that one default source, it refreshed it
// and came to rest. The run it took is kept, for its memory.
class PreparedDevice {
  public:
    static const PreparedDevice& shared();

    const std::filesystem::path& root() const { return root_; }
    // The whole program's run, from launch through the refresh and the information cache.
    const ProgramRun& refreshRun() const { return refreshRun_; }
    // The program launched on the root again, nothing due, until it comes to rest.
    ProgramRun launch() const;

  private:
    PreparedDevice();

    std::filesystem::path root_;
    ProgramRun refreshRun_;
};

}  // namespace corvane::bench
