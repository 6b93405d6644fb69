#pragma once

#include <filesystem>
#include <string>

namespace corvane::testing {

// A folder of the host's own, which no package may write or reach into; removed with what it
// holds when the test is done.
class HostFolder {
  public:
    explicit HostFolder(const std::filesystem::path& parent);
    ~HostFolder();
    HostFolder(const HostFolder&) = delete;
    HostFolder& operator=(const HostFolder&) = delete;

    const std::string& path() const { return path_; }
    bool isEmpty() const { return std::filesystem::is_empty(path_); }

  private:
    std::string path_;
};

}  // namespace corvane::testing
