#pragma once

#include <string>

namespace corvane::testing {

// A socket of the host that listens as a service's does (the service manager's or a container
// engine's under /run, one on the loopback network) and tells whether anyone connected to it.
class HostListener {
  public:
    // At a path of the host's file system.
    static HostListener unixSocket(const std::string& path);
    // In the abstract namespace, which has no file: "@name" as an address.
    static HostListener abstractSocket(const std::string& name);
    // TCP on 127.0.0.1, at a port the system picks.
    static HostListener loopbackPort();

    ~HostListener();
    HostListener(HostListener&& other) noexcept;
    HostListener(const HostListener&) = delete;
    HostListener& operator=(const HostListener&) = delete;
    HostListener& operator=(HostListener&&) = delete;

    // Where a client connects: the path, "@name" or "127.0.0.1:port".
    const std::string& address() const { return address_; }
    // Whether a connection has come since the last call; those that came are taken and closed.
    bool wasReached();

  private:
    HostListener(int descriptor, std::string address);

    int descriptor_;
    std::string address_;
};

}  // namespace corvane::testing
