#pragma once

#include <string>
#include <string_view>

namespace corvane::testing {

// A file of its own in the temporary folder holding the given bytes, removed with the object.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string_view contents);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace corvane::testing
