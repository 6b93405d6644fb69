#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// The host's dpkg log, which dpkg runs on a device root must never add to. Other programs on the
// machine may write it at any moment, so a test tells its own lines by a package name that only
// it uses (uniquePackageName) and asks for the lines naming it.
class HostDpkgLog {
  public:
    static constexpr const char* kPath = "/var/log/dpkg.log";

    // Remembers where the log ends now.
    HostDpkgLog();

    // The lines written since, that name the package (as "name:architecture").
    std::vector<std::string> linesNaming(const std::string& package) const;

    // "com.example.<what>.<process>.<count>", a valid package name of this run alone.
    static std::string uniquePackageName(const std::string& what);

  private:
    std::uintmax_t start_ = 0;
};

}  // namespace testing_support
