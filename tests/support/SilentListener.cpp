#include "support/SilentListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace testing_support {

namespace {

// Connections beyond the backlog wait in the kernel for a place, which is silence too.
constexpr int kBacklog = 1024;

}  // namespace

SilentListener::SilentListener() {
    descriptor_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (descriptor_ < 0 || bind(descriptor_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(descriptor_, kBacklog) != 0 ||
        getsockname(descriptor_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        const std::string reason = std::strerror(errno);
        if (descriptor_ >= 0)
            close(descriptor_);
        throw std::runtime_error("silent listener: " + reason);
    }
    port_ = ntohs(address.sin_port);
}

SilentListener::~SilentListener() {
    close(descriptor_);
}

std::string SilentListener::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

}  // namespace testing_support
