#pragma once

#include <string>
#include <string_view>

namespace testing_support {

// A TCP port on 127.0.0.1 that takes connections and never says a word: every request to it
// waits until its time-out.
class SilentListener {
  public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    // "http://127.0.0.1:PORT" + path.
    std::string url(std::string_view path) const;

  private:
    int descriptor_ = -1;
    int port_ = 0;
};

}  // namespace testing_support
