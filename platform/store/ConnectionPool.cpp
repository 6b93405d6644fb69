#include "store/ConnectionPool.h"

namespace store {

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
      didCommit_(std::move(didCommit)) {}

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
