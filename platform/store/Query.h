#pragma once

#include <string>
#include <vector>

#include "store/ObjectSchema.h"
#include "store/SqlFragment.h"

namespace store {

// What a result set holds and in which order: a condition on one class's table, then sorts and
// distinct steps applied one after another. A distinct step keeps, of each distinct value, the
// first object in the order that stood at that step. Without a sort, objects keep the order in
// which they were first added.
class Query {
  public:
    explicit Query(const ObjectSchema& schema) : schema_(&schema) {}

    const ObjectSchema& schema() const { return *schema_; }

    // Objects matching both this query's condition and the new one, in the same order.
    Query filtered(const SqlFragment& condition) const;
    // The new key sorts first; the order before it breaks ties. Throws StoreError for a key path
    // that is no scalar property.
    Query sorted(const std::string& keyPath, bool ascending) const;
    Query distinct(const std::vector<std::string>& keyPaths) const;

    // SELECT of the matching rowids in result order.
    SqlFragment rowidSql() const { return selectSql({}); }
    // SELECT of the properties' columns of the matching rows in result order. Throws StoreError
    // for a key path that is no scalar property.
    SqlFragment valuesSql(const std::vector<std::string>& keyPaths) const;

  private:
    struct SortKey {
        std::string property;
        bool ascending = true;
        bool isString = false;
    };
    struct DistinctStep {
        std::vector<std::string> properties;
        std::vector<SortKey> orderBefore;
    };

    // The rowid alone when no property is named.
    SqlFragment selectSql(const std::vector<std::string>& properties) const;
    const Property& scalarProperty(const std::string& keyPath) const;
    static std::string columnList(const std::vector<std::string>& properties,
                                  const std::string& rowidColumn);
    static std::string orderBy(const std::vector<SortKey>& keys, const std::string& rowidColumn);

    const ObjectSchema* schema_;
    SqlFragment condition_;
    std::vector<SortKey> order_;
    std::vector<DistinctStep> distinctSteps_;
};

}  // namespace store
