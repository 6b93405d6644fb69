#include "store/Checkpointer.h"

namespace store {

Checkpointer::~Checkpointer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void Checkpointer::didCommit(std::int64_t logBytes) {
    if (logBytes < kLogBytesLimit)
        return;
    {
        std::lock_guard lock(mutex_);
        requested_ = true;
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
    }
    wake_.notify_one();
}

void Checkpointer::run() {
    std::unique_ptr<Connection> connection;
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return requested_ || stopping_; });
        if (stopping_)
            break;
        requested_ = false;
        lock.unlock();
        try {
            if (!connection)
                connection = pool_.take();
            connection->execute("PRAGMA wal_checkpoint(PASSIVE)");
        } catch (const std::exception&) {
            // Nothing is lost: the pages stay in the log, and the next large commit asks again.
        }
        lock.lock();
    }
    lock.unlock();
    if (connection)
        pool_.give(std::move(connection));
}

}  // namespace store
