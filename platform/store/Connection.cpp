#include "store/Connection.h"

#include <string_view>
#include <utility>

#include <sqlite3.h>

#include "store/SqlFunctions.h"

namespace store {

Connection::CachedStatement::CachedStatement(SQLite::Statement* statement, bool* inUse,
                                             std::unique_ptr<SQLite::Statement> owned)
    : statement_(statement), inUse_(inUse), owned_(std::move(owned)) {}

Connection::CachedStatement::CachedStatement(CachedStatement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)),
      inUse_(std::exchange(other.inUse_, nullptr)),
      owned_(std::move(other.owned_)) {}

Connection::CachedStatement::~CachedStatement() {
    if (!statement_)
        return;
    // An unfinished statement would keep its read snapshot open and hide later commits.
    statement_->tryReset();
    try {
        statement_->clearBindings();
    } catch (...) {
    }
    if (inUse_)
        *inUse_ = false;
}

Connection::Connection(const std::string& path, int busyTimeoutMilliseconds, CommitHook didCommit)
    : database_(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE | SQLite::OPEN_NOMUTEX,
                busyTimeoutMilliseconds),
      didCommit_(std::move(didCommit)) {
    database_.exec(kSettings);
    SqlFunctions::registerOn(database_.getHandle());
    if (!didCommit_)
        return;
    pageSize_ = database_.execAndGet("PRAGMA page_size").getInt64();
    sqlite3_wal_hook(database_.getHandle(), &Connection::walHook, this);
}

int Connection::walHook(void* connection, sqlite3*, const char*, int logFrames) {
    auto* self = static_cast<Connection*>(connection);
    self->didCommit_(logFrames * self->pageSize_);
    return SQLITE_OK;
}

std::size_t Connection::StatementHash::operator()(const std::string& sql) const {
    constexpr std::size_t kEnd = 48;
    const std::string_view text(sql);
    const std::hash<std::string_view> hash;
    if (text.size() <= 2 * kEnd)
        return hash(text);
    return hash(text.substr(0, kEnd)) ^ (hash(text.substr(text.size() - kEnd)) * 31) ^ text.size();
}

Connection::CachedStatement Connection::prepare(const std::string& sql) {
    auto& entry = statements_[sql];
    if (!entry.statement)
        entry.statement = std::make_unique<SQLite::Statement>(database_, sql);
    if (entry.inUse) {
        auto fresh = std::make_unique<SQLite::Statement>(database_, sql);
        auto raw = fresh.get();
        return CachedStatement(raw, nullptr, std::move(fresh));
    }
    entry.inUse = true;
    return CachedStatement(entry.statement.get(), &entry.inUse, nullptr);
}

void Connection::execute(const std::string& sql) {
    database_.exec(sql);
}

}  // namespace store
