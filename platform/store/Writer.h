#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "store/ConnectionPool.h"

namespace store {

// The one write transaction of a database: one thread at a time holds it, on a connection of its
// own. A begin on the thread that already holds it nests as a savepoint, so an inner block that
// fails or is cancelled undoes only its own part, and the outer commit commits everything.
//
// The connection is kept from one transaction to the next with a page cache larger than SQLite's
// own default of about 2 MiB: a transaction that stores tens of thousands of records in no
// particular key order touches pages all over its indexes, and a small cache writes them out and
// reads them back over and over. The records themselves are appended; an import of 60,000
// packages listed in no order is a sixth faster with 8 MiB, which a refresh cannot afford while
// it decompresses (64 MiB made it five times as large as APT's own), so a write that has the
// memory to spare widens the cache for itself. The cache is let go at each commit:
// kept, it would hold the pages of the last large import for as long as the program runs, and
// the next small transaction reads the few pages it needs from the system's file cache.
class Writer {
  public:
    // The writing connection's page cache, on top of the settings of every connection.
    static constexpr int kCacheKibibytes = 4 * 1024;
    static std::string cacheSetting() {
        return "PRAGMA cache_size = " + std::to_string(-kCacheKibibytes);
    }

    explicit Writer(ConnectionPool& pool) : pool_(pool) {}

    // Waits until no other thread writes.
    void begin();
    // The classes written in the transaction once the outermost level commits; nothing for an
    // inner level. Throws StoreError (after rolling back) when SQLite refuses the commit.
    std::optional<std::set<std::string>> commit();
    // True when it ended the whole transaction.
    bool cancel();
    // For the rest of the transaction, a page cache of this size: a large write that has memory
    // to spare for a while. The usual size comes back with the next transaction.
    void setCacheKibibytes(int kibibytes);

    bool isHeldByCurrentThread() const { return owner_.load() == std::this_thread::get_id(); }
    // The transaction's connection; only for the thread that holds it.
    Connection& connection() { return *connection_; }
    void touch(const std::string& className) { touched_.insert(className); }

    // Runs work on a connection of its own while no one writes (for VACUUM and checkpoints, which
    // must run outside any transaction).
    void runExclusively(const std::function<void(Connection&)>& work);

  private:
    void requireHeld(const char* what) const;
    std::string savepointName() const;
    void release();

    ConnectionPool& pool_;
    std::mutex mutex_;
    std::atomic<std::thread::id> owner_;
    int depth_ = 0;
    std::unique_ptr<Connection> connection_;
    std::set<std::string> touched_;
    bool cacheResized_ = false;
};

}  // namespace store
