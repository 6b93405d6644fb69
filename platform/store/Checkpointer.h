#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "store/ConnectionPool.h"

namespace store {

// Copies the write-ahead log into the database file on a thread of its own. Left to SQLite, the
// commit that makes the log outgrow its limit does the copy itself and waits for the file to be
// written twice; here the commit returns once its pages are in the log. Readers and writers go
// on meanwhile: the copy is a passive checkpoint, which takes no lock they need.
class Checkpointer {
  public:
    // SQLite's own limit for its automatic checkpoints, 1000 pages of its default size, whatever
    // the size of the file's pages.
    static constexpr std::int64_t kLogBytesLimit = std::int64_t{1000} * 4096;

    explicit Checkpointer(ConnectionPool& pool) : pool_(pool) {}
    // Waits for a copy under way.
    ~Checkpointer();
    Checkpointer(const Checkpointer&) = delete;
    Checkpointer& operator=(const Checkpointer&) = delete;

    // Called after each commit with the bytes of pages now in the log; starts a copy past the
    // limit.
    void didCommit(std::int64_t logBytes);

  private:
    void run();

    ConnectionPool& pool_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool requested_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace store
