#include "e2e/HostMessageQueue.h"

#include <sys/ipc.h>
#include <sys/msg.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace corvane::testing {

namespace {

struct Message {
    long type;
    char text[64];
};

}  // namespace

// A key of this process's own, and the next one where another program holds it.
HostMessageQueue::HostMessageQueue() {
    for (key_t key = static_cast<key_t>(getpid()) << 8; identifier_ < 0; ++key) {
        identifier_ = msgget(key, IPC_CREAT | IPC_EXCL | 0600);
        if (identifier_ < 0 && errno != EEXIST)
            throw std::runtime_error(std::string("msgget: ") + std::strerror(errno));
        address_ = "sysv:" + std::to_string(key);
    }
}

HostMessageQueue::~HostMessageQueue() {
    msgctl(identifier_, IPC_RMID, nullptr);
}

bool HostMessageQueue::wasReached() {
    bool reached = false;
    Message message{};
    while (msgrcv(identifier_, &message, sizeof message.text, 0, IPC_NOWAIT) >= 0)
        reached = true;
    return reached;
}

}  // namespace corvane::testing
