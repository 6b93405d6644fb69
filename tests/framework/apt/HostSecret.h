#pragma once

#include <string>

namespace corvane::testing {

// A folder of the host, outside the device root, holding one file whose text must never reach
// the program: what a hostile package points its links at. Removed with the object.
class HostSecret {
  public:
    static constexpr const char* kText = "host-secret-7d41c0e2";

    HostSecret();
    ~HostSecret();
    HostSecret(const HostSecret&) = delete;
    HostSecret& operator=(const HostSecret&) = delete;

    const std::string& folder() const { return folder_; }
    std::string file() const { return folder_ + "/secret"; }

  private:
    std::string folder_;
};

}  // namespace corvane::testing
