#pragma once

#include <filesystem>

namespace corvane::bench {

// A device root that the program itself has given a source of the launch index's packages:
// launched on a fresh root with that one default source, it refreshed it and came to rest.
class PreparedDevice {
  public:
    static const PreparedDevice& shared();

    const std::filesystem::path& root() const { return root_; }

  private:
    PreparedDevice();

    std::filesystem::path root_;
};

}  // namespace corvane::bench
