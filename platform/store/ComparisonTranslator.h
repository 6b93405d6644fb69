#pragma once

#include <string>
#include <vector>

#include "foundation/Value.h"
#include "store/ComparisonOperator.h"
#include "store/Property.h"

namespace store {

// The SQL of one comparison "property op value". Every result is strictly 1 or 0, never NULL,
// so NOT, AND and OR combine them as the object database does: "a != x" holds for an unset a.
// A list of strings matches when any element does.
class ComparisonTranslator {
  public:
    // foldOptions are TextFolding's; context is the predicate format, for error texts.
    ComparisonTranslator(const Property& property, ComparisonOperator op, int foldOptions,
                         const std::string& context);

    // column is the quoted column; the values bound are appended to bindings.
    std::string translate(const std::string& column, const foundation::Value& value,
                          std::vector<foundation::Value>& bindings) const;

  private:
    std::string scalar(const std::string& expression, PropertyType type,
                       const foundation::Value& value,
                       std::vector<foundation::Value>& bindings) const;
    std::string membership(const std::string& expression, PropertyType type,
                           const foundation::Value& value,
                           std::vector<foundation::Value>& bindings) const;
    std::string stringOperation(const std::string& expression, PropertyType type,
                                const foundation::Value& value,
                                std::vector<foundation::Value>& bindings) const;
    std::string folded(const std::string& expression, PropertyType type) const;
    // The argument in the form the column stores; throws PredicateError when it cannot be.
    foundation::Value coerced(const foundation::Value& value, PropertyType type) const;
    [[noreturn]] void fail(const std::string& what) const;

    const Property& property_;
    ComparisonOperator op_;
    int foldOptions_;
    const std::string& context_;
};

}  // namespace store
