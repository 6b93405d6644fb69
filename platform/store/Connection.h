#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

namespace store {

// One SQLite connection with the store's settings (WAL, busy timeout, the predicate functions)
// and its prepared statements kept for reuse. Used by one thread at a time.
class Connection {
  public:
    // A prepared statement lent out by the connection; reset and unbound when it goes.
    class CachedStatement {
      public:
        CachedStatement(CachedStatement&& other) noexcept;
        CachedStatement& operator=(CachedStatement&&) = delete;
        ~CachedStatement();

        SQLite::Statement& operator*() { return *statement_; }
        SQLite::Statement* operator->() { return statement_; }

      private:
        friend class Connection;
        CachedStatement(SQLite::Statement* statement, bool* inUse,
                        std::unique_ptr<SQLite::Statement> owned);
        SQLite::Statement* statement_;
        bool* inUse_;
        std::unique_ptr<SQLite::Statement> owned_;
    };

    // Called after each commit made on the connection with the bytes of pages then in the
    // write-ahead log. A connection with a hook makes no checkpoints of its own: whoever sets it
    // copies the log into the database file.
    using CommitHook = std::function<void(std::int64_t logBytes)>;

    // What every connection is opened with. With WAL, synchronous NORMAL loses no committed data
    // on a crash of the process, only on power loss. The page size counts only for a new file:
    // records of about a kilobyte, tens of thousands written at once, go to the log in a quarter
    // of the writes of SQLite's 4 KiB pages, through shallower trees.
    static constexpr const char* kSettings =
        "PRAGMA page_size = 16384; PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL";

    Connection(const std::string& path, int busyTimeoutMilliseconds, CommitHook didCommit = {});

    // The kept statement for this text; a fresh one when the kept one is already lent out.
    CachedStatement prepare(const std::string& sql);
    void execute(const std::string& sql);
    SQLite::Database& database() { return database_; }

  private:
    struct Entry {
        std::unique_ptr<SQLite::Statement> statement;
        bool inUse = false;
    };
    // A statement that writes a record names every column, thousands of characters that a
    // full hash would read on every write: the length and both ends tell statements apart well
    // enough, and equal hashes are still told apart by comparing the texts.
    struct StatementHash {
        std::size_t operator()(const std::string& sql) const;
    };
    static int walHook(void* connection, sqlite3* database, const char* name, int logFrames);

    SQLite::Database database_;
    CommitHook didCommit_;
    // Of this file, whatever size new files are made with.
    std::int64_t pageSize_ = 0;
    std::unordered_map<std::string, Entry, StatementHash> statements_;
};

}  // namespace store
