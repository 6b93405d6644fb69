#include "store/ValueReader.h"

#include "store/ColumnCodec.h"
#include "store/RealmCore.h"

namespace store {

void ValueReader::read(RealmCore& core, const Query& query,
                       const std::vector<std::string>& keyPaths, const Visitor& visit) {
    const auto sql = query.valuesSql(keyPaths);
    std::vector<const Property*> properties;
    for (const auto& keyPath : keyPaths)
        properties.push_back(query.schema().property(keyPath));
    auto connection = core.connection();
    auto statement = connection->prepare(sql.sql);
    ColumnCodec::bindRaw(*statement, sql.bindings);
    std::vector<foundation::Value> values(keyPaths.size());
    while (statement->executeStep()) {
        for (std::size_t i = 0; i < properties.size(); ++i)
            values[i] =
                ColumnCodec::readValue(*properties[i], statement->getColumn(static_cast<int>(i)));
        visit(values);
    }
}

}  // namespace store
