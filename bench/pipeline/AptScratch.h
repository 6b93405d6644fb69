#pragma once

#include <filesystem>
#include <string>

#include "LoopbackRepository.h"

namespace corvane::bench {

// A scratch configuration for APT in a folder of its own, with empty lists and status and one
// flat repository as its source, for APT's architecture of the device.
class AptScratch {
  public:
    AptScratch(const std::filesystem::path& root, const std::string& location);

    // "apt-get update" on it.
    ProgramRun update() const;

  private:
    std::filesystem::path root_;
};

}  // namespace corvane::bench
