#pragma once

#include <string>

namespace corvane::testing {

// A System V message queue of the host, as a service keeps one (its shared memory lies in the
// same namespace), that tells whether anyone put a message in it. Removed when the test is done.
class HostMessageQueue {
  public:
    HostMessageQueue();
    ~HostMessageQueue();
    HostMessageQueue(const HostMessageQueue&) = delete;
    HostMessageQueue& operator=(const HostMessageQueue&) = delete;

    // "sysv:<key>", the key a client opens it by.
    const std::string& address() const { return address_; }
    // Whether a message has come since the last call; those that came are taken.
    bool wasReached();

  private:
    int identifier_ = -1;
    std::string address_;
};

}  // namespace corvane::testing
