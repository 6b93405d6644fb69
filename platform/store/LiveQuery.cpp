#include "store/LiveQuery.h"

#include "store/ColumnCodec.h"
#include "store/RealmCore.h"

namespace store {

std::shared_ptr<const std::vector<std::int64_t>> LiveQuery::rowids(RealmCore& core) {
    std::lock_guard lock(mutex_);
    auto& answer = core.isWritingOnCurrentThread() ? writing_ : committed_;
    // Read before running: a commit that lands during the run makes the next read run again.
    auto generation = core.generation();
    if (!answer.rowids || answer.generation != generation) {
        answer.rowids = run(core);
        answer.generation = generation;
    }
    return answer.rowids;
}

bool LiveQuery::isEmpty(RealmCore& core) {
    {
        std::lock_guard lock(mutex_);
        const auto& answer = core.isWritingOnCurrentThread() ? writing_ : committed_;
        if (answer.rowids && answer.generation == core.generation())
            return answer.rowids->empty();
    }
    auto sql = query_.rowidSql();
    auto connection = core.connection();
    auto statement = connection->prepare("SELECT EXISTS (" + sql.sql + ")");
    ColumnCodec::bindRaw(*statement, sql.bindings);
    return !statement->executeStep() || statement->getColumn(0).getInt64() == 0;
}

void LiveQuery::invalidate() {
    std::lock_guard lock(mutex_);
    committed_.rowids.reset();
    writing_.rowids.reset();
}

std::shared_ptr<const std::vector<std::int64_t>> LiveQuery::run(RealmCore& core) const {
    auto sql = query_.rowidSql();
    auto connection = core.connection();
    auto statement = connection->prepare(sql.sql);
    ColumnCodec::bindRaw(*statement, sql.bindings);
    auto rowids = std::make_shared<std::vector<std::int64_t>>();
    while (statement->executeStep())
        rowids->push_back(statement->getColumn(0).getInt64());
    return rowids;
}

}  // namespace store
