#include "e2e/HostListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <stdexcept>

namespace corvane::testing {

namespace {

constexpr int kBacklog = 8;

int listening(int domain, const void* address, socklen_t length) {
    const int descriptor = socket(domain, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    if (bind(descriptor, static_cast<const sockaddr*>(address), length) != 0 ||
        listen(descriptor, kBacklog) != 0) {
        const std::string reason = std::strerror(errno);
        close(descriptor);
        throw std::runtime_error("bind or listen: " + reason);
    }
    return descriptor;
}

// An abstract name starts with a 0 byte and is as long as the length says, without an end.
int listeningUnix(const std::string& name, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (name.size() + offset >= sizeof address.sun_path)
        throw std::runtime_error("socket name too long: " + name);
    std::memcpy(address.sun_path + offset, name.data(), name.size());
    const auto length = offsetof(sockaddr_un, sun_path) + offset + name.size() + (abstract ? 0 : 1);
    return listening(AF_UNIX, &address, static_cast<socklen_t>(length));
}

}  // namespace

HostListener::HostListener(int descriptor, std::string address)
    : descriptor_(descriptor), address_(std::move(address)) {}

HostListener::HostListener(HostListener&& other) noexcept
    : descriptor_(other.descriptor_), address_(std::move(other.address_)) {
    other.descriptor_ = -1;
}

HostListener::~HostListener() {
    if (descriptor_ >= 0)
        close(descriptor_);
}

HostListener HostListener::unixSocket(const std::string& path) {
    return {listeningUnix(path, false), path};
}

HostListener HostListener::abstractSocket(const std::string& name) {
    return {listeningUnix(name, true), "@" + name};
}

HostListener HostListener::loopbackPort() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int descriptor = listening(AF_INET, &address, sizeof address);
    socklen_t length = sizeof address;
    getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length);
    return {descriptor, "127.0.0.1:" + std::to_string(ntohs(address.sin_port))};
}

bool HostListener::wasReached() {
    bool reached = false;
    for (int client; (client = accept4(descriptor_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        close(client);
        reached = true;
    }
    return reached;
}

}  // namespace corvane::testing
