#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "store/Query.h"

namespace store {

class RealmCore;

// A query with the row ids it matched at the database's last write generation. Any write,
// committed or inside the current thread's transaction, makes the next read run it again. The
// writing thread sees its own uncommitted writes, every other thread the committed state, so each
// of the two views keeps its own answer.
class LiveQuery {
  public:
    explicit LiveQuery(Query query) : query_(std::move(query)) {}

    const Query& query() const { return query_; }
    std::shared_ptr<const std::vector<std::int64_t>> rowids(RealmCore& core);
    // Answers from the row ids when they are current; else stops at the first matching row
    // instead of listing them all.
    bool isEmpty(RealmCore& core);
    // Forces a new run on the next read (when a listed row has gone in the meantime).
    void invalidate();

  private:
    std::shared_ptr<const std::vector<std::int64_t>> run(RealmCore& core) const;

    struct Answer {
        std::shared_ptr<const std::vector<std::int64_t>> rowids;
        std::uint64_t generation = 0;
    };

    const Query query_;
    std::mutex mutex_;
    Answer committed_;
    Answer writing_;
};

}  // namespace store
