#include "store/ConnectionPool.h"

#include <sqlite3.h>

#include <mutex>

namespace store {

namespace {

// Unless told otherwise before it starts, SQLite counts every allocation it makes under one
// global lock, which the threads of a large import then queue for; nothing here reads the counts.
void leaveOutMemoryStatistics() {
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}

}  // namespace

ConnectionPool::Lease::Lease(ConnectionPool& pool, std::unique_ptr<Connection> connection)
    : pool_(&pool), owned_(std::move(connection)), connection_(owned_.get()) {}

ConnectionPool::Lease::~Lease() {
    if (pool_ && owned_)
        pool_->give(std::move(owned_));
}

ConnectionPool::ConnectionPool(std::string path, int busyTimeoutMilliseconds,
                               Connection::CommitHook didCommit)
    : path_(std::move(path)),
      busyTimeoutMilliseconds_(busyTimeoutMilliseconds),
      didCommit_(std::move(didCommit)) {
    leaveOutMemoryStatistics();
}

std::unique_ptr<Connection> ConnectionPool::take() {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto connection = std::move(idle_.back());
            idle_.pop_back();
            return connection;
        }
    }
    return std::make_unique<Connection>(path_, busyTimeoutMilliseconds_, didCommit_);
}

void ConnectionPool::give(std::unique_ptr<Connection> connection) {
    std::lock_guard lock(mutex_);
    if (idle_.size() < kMaximumIdle)
        idle_.push_back(std::move(connection));
}

}  // namespace store
