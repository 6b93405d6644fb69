#include "store/Query.h"

#include <set>

#include "store/ColumnCodec.h"
#include "store/StoreError.h"
#include "store/TextFolding.h"

namespace store {

namespace {

const std::string kRowidColumn = "_store_rowid";

}  // namespace

Query Query::filtered(const SqlFragment& condition) const {
    Query query = *this;
    if (query.condition_.sql.empty()) {
        query.condition_ = condition;
    } else {
        query.condition_.sql = "(" + condition_.sql + ") AND (" + condition.sql + ")";
        query.condition_.bindings.insert(query.condition_.bindings.end(),
                                         condition.bindings.begin(), condition.bindings.end());
    }
    return query;
}

Query Query::sorted(const std::string& keyPath, bool ascending) const {
    const auto& property = scalarProperty(keyPath);
    Query query = *this;
    std::erase_if(query.order_, [&](const SortKey& key) { return key.property == keyPath; });
    query.order_.insert(query.order_.begin(),
                        SortKey{keyPath, ascending, property.type == PropertyType::String});
    return query;
}

Query Query::distinct(const std::vector<std::string>& keyPaths) const {
    for (const auto& keyPath : keyPaths)
        scalarProperty(keyPath);
    if (keyPaths.empty())
        return *this;
    Query query = *this;
    query.distinctSteps_.push_back(DistinctStep{keyPaths, order_});
    return query;
}

SqlFragment Query::valuesSql(const std::vector<std::string>& keyPaths) const {
    for (const auto& keyPath : keyPaths)
        scalarProperty(keyPath);
    return selectSql(keyPaths);
}

SqlFragment Query::selectSql(const std::vector<std::string>& properties) const {
    auto table = ColumnCodec::quoted(schema_->className());
    auto where = condition_.sql.empty() ? std::string() : " WHERE " + condition_.sql;
    if (distinctSteps_.empty())
        return {"SELECT " + columnList(properties, "rowid") + " FROM " + table + where +
                    orderBy(order_, "rowid"),
                condition_.bindings};

    auto rowid = ColumnCodec::quoted(kRowidColumn);
    // Only the columns that the steps, the order and the caller read travel through the window
    // functions.
    std::set<std::string> used(properties.begin(), properties.end());
    for (const auto& key : order_)
        used.insert(key.property);
    for (const auto& step : distinctSteps_) {
        used.insert(step.properties.begin(), step.properties.end());
        for (const auto& key : step.orderBefore)
            used.insert(key.property);
    }
    std::string sql = "SELECT rowid AS " + rowid;
    for (const auto& property : used)
        sql += ", " + ColumnCodec::quoted(property);
    sql += " FROM " + table + where;
    for (std::size_t i = 0; i < distinctSteps_.size(); ++i) {
        const auto& step = distinctSteps_[i];
        auto rank = ColumnCodec::quoted("_store_rank" + std::to_string(i));
        std::string partition;
        for (const auto& property : step.properties)
            partition += (partition.empty() ? "" : ", ") + ColumnCodec::quoted(property);
        sql = "SELECT * FROM (SELECT *, ROW_NUMBER() OVER (PARTITION BY " + partition +
              orderBy(step.orderBefore, rowid) + ") AS " + rank + " FROM (" + sql + ")) WHERE " +
              rank + " = 1";
    }
    return {
        "SELECT " + columnList(properties, rowid) + " FROM (" + sql + ")" + orderBy(order_, rowid),
        condition_.bindings};
}

std::string Query::columnList(const std::vector<std::string>& properties,
                              const std::string& rowidColumn) {
    if (properties.empty())
        return rowidColumn;
    std::string list;
    for (const auto& property : properties)
        list += (list.empty() ? "" : ", ") + ColumnCodec::quoted(property);
    return list;
}

const Property& Query::scalarProperty(const std::string& keyPath) const {
    auto property = schema_->property(keyPath);
    if (!property)
        throw StoreError("class " + schema_->className() + " has no property \"" + keyPath + "\"");
    if (isListType(property->type))
        throw StoreError("cannot sort or distinguish by the list \"" + keyPath + "\"");
    return *property;
}

// Strings sort without regard to case or accents ("apple" before "Banana"), exact text breaking
// ties; the row id makes the order total so that "first" is always the same object.
std::string Query::orderBy(const std::vector<SortKey>& keys, const std::string& rowidColumn) {
    std::string sql;
    auto add = [&](const std::string& term, bool ascending) {
        sql += (sql.empty() ? " ORDER BY " : ", ") + term + (ascending ? " ASC" : " DESC");
    };
    for (const auto& key : keys) {
        auto column = ColumnCodec::quoted(key.property);
        if (key.isString)
            add("store_fold(" + column + ", " +
                    std::to_string(TextFolding::kCase | TextFolding::kDiacritics) + ")",
                key.ascending);
        add(column, key.ascending);
    }
    add(rowidColumn, true);
    return sql;
}

}  // namespace store
