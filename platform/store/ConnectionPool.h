#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "store/Connection.h"

namespace store {

// The connections of one database file. SQLite connections must not be shared between threads,
// so each reader borrows one for the length of one operation; WAL lets them all read while a
// writer writes, each seeing every commit made before its statement began.
class ConnectionPool {
  public:
    // A borrowed connection, given back when the lease goes; or a connection someone else owns
    // (the open write transaction's), merely pointed at.
    class Lease {
      public:
        Lease(ConnectionPool& pool, std::unique_ptr<Connection> connection);
        explicit Lease(Connection& borrowed) : connection_(&borrowed) {}
        Lease(Lease&& other) noexcept = default;
        Lease& operator=(Lease&&) = delete;
        ~Lease();

        Connection& operator*() { return *connection_; }
        Connection* operator->() { return connection_; }

      private:
        ConnectionPool* pool_ = nullptr;
        std::unique_ptr<Connection> owned_;
        Connection* connection_;
    };

    // Every connection made gets the commit hook.
    ConnectionPool(std::string path, int busyTimeoutMilliseconds,
                   Connection::CommitHook didCommit = {});

    Lease lease() { return Lease(*this, take()); }
    std::unique_ptr<Connection> take();
    void give(std::unique_ptr<Connection> connection);

  private:
    static constexpr std::size_t kMaximumIdle = 8;
    std::string path_;
    int busyTimeoutMilliseconds_;
    Connection::CommitHook didCommit_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

}  // namespace store
