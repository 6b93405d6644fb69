#include "store/ComparisonTranslator.h"

#include <cstdlib>

#include "store/ListCodec.h"
#include "store/PredicateError.h"
#include "store/TextFolding.h"

namespace store {

namespace {

bool isStringOperation(ComparisonOperator op) {
    return op == ComparisonOperator::BeginsWith || op == ComparisonOperator::EndsWith ||
           op == ComparisonOperator::Contains || op == ComparisonOperator::Like;
}

const char* orderingSymbol(ComparisonOperator op) {
    switch (op) {
        case ComparisonOperator::Less:
            return "<";
        case ComparisonOperator::LessOrEqual:
            return "<=";
        case ComparisonOperator::Greater:
            return ">";
        default:
            return ">=";
    }
}

// Text that is wholly a number, as a number; nil otherwise.
foundation::Value numberInText(const std::string& text) {
    if (text.empty())
        return {};
    char* end = nullptr;
    long long integer = std::strtoll(text.c_str(), &end, 10);
    if (*end == '\0')
        return foundation::Value(integer);
    double real = std::strtod(text.c_str(), &end);
    if (*end == '\0')
        return foundation::Value(real);
    return {};
}

}  // namespace

ComparisonTranslator::ComparisonTranslator(const Property& property, ComparisonOperator op,
                                           int foldOptions, const std::string& context)
    : property_(property), op_(op), foldOptions_(foldOptions), context_(context) {}

std::string ComparisonTranslator::translate(const std::string& column,
                                            const foundation::Value& value,
                                            std::vector<foundation::Value>& bindings) const {
    if (property_.type == PropertyType::ObjectList)
        fail("a list of records (\"" + property_.name + "\") cannot be compared");
    if (property_.type == PropertyType::StringList)
        return "EXISTS (SELECT 1 FROM json_each(" + column + ") AS store_element WHERE " +
               scalar("store_element.value", PropertyType::String, value, bindings) + ")";
    return scalar(column, property_.type, value, bindings);
}

std::string ComparisonTranslator::scalar(const std::string& expression, PropertyType type,
                                         const foundation::Value& value,
                                         std::vector<foundation::Value>& bindings) const {
    if (op_ == ComparisonOperator::In)
        return membership(expression, type, value, bindings);
    if (isStringOperation(op_))
        return stringOperation(expression, type, value, bindings);
    auto argument = coerced(value, type);
    bool unset = argument.isNil();
    switch (op_) {
        case ComparisonOperator::Equal:
            if (unset)
                return expression + " IS NULL";
            bindings.push_back(std::move(argument));
            return folded(expression, type) + " IS ?";
        case ComparisonOperator::NotEqual:
            if (unset)
                return expression + " IS NOT NULL";
            bindings.push_back(std::move(argument));
            return folded(expression, type) + " IS NOT ?";
        default:
            if (unset)
                return "0";
            bindings.push_back(std::move(argument));
            return "COALESCE(" + folded(expression, type) + " " + orderingSymbol(op_) + " ?, 0)";
    }
}

std::string ComparisonTranslator::membership(const std::string& expression, PropertyType type,
                                             const foundation::Value& value,
                                             std::vector<foundation::Value>& bindings) const {
    if (!value.isArray())
        fail("IN needs an array or a {...} list on its right");
    foundation::Value::Array members;
    bool includesUnset = false;
    for (const auto& element : value.array()) {
        auto member = coerced(element, type);
        if (member.isNil())
            includesUnset = true;
        else
            members.push_back(std::move(member));
    }
    // One bound JSON array, however long the list: no limit on parameters, no text pasted.
    std::string sql = "0";
    if (!members.empty()) {
        bindings.emplace_back(ListCodec::encode(members));
        // Never NULL, so that NOT gives the unset values, and written so that SQLite looks the
        // members up in the column's index rather than reading the whole table.
        sql = "(" + folded(expression, type) + " IN (SELECT value FROM json_each(?)) AND " +
              expression + " IS NOT NULL)";
    }
    if (includesUnset)
        sql = "(" + sql + " OR " + expression + " IS NULL)";
    return sql;
}

std::string ComparisonTranslator::stringOperation(const std::string& expression, PropertyType type,
                                                  const foundation::Value& value,
                                                  std::vector<foundation::Value>& bindings) const {
    if (type != PropertyType::String)
        fail("BEGINSWITH, ENDSWITH, CONTAINS and LIKE need a string property, not \"" +
             property_.name + "\"");
    auto argument = coerced(value, type);
    if (argument.isNil())
        return "0";
    bindings.push_back(std::move(argument));
    auto subject = folded(expression, type);
    switch (op_) {
        case ComparisonOperator::BeginsWith:
            return "store_beginswith(" + subject + ", ?)";
        case ComparisonOperator::EndsWith:
            return "store_endswith(" + subject + ", ?)";
        case ComparisonOperator::Contains:
            return "COALESCE(instr(" + subject + ", ?) > 0, 0)";
        default:
            return "store_like(" + subject + ", ?)";
    }
}

std::string ComparisonTranslator::folded(const std::string& expression, PropertyType type) const {
    if (foldOptions_ == 0 || type != PropertyType::String)
        return expression;
    return "store_fold(" + expression + ", " + std::to_string(foldOptions_) + ")";
}

foundation::Value ComparisonTranslator::coerced(const foundation::Value& value,
                                                PropertyType type) const {
    using Type = foundation::Value::Type;
    if (value.isNilOrNull())
        return {};
    auto kind = value.type();
    bool number = kind == Type::Integer || kind == Type::Real || kind == Type::Boolean;
    switch (type) {
        case PropertyType::String:
            if (kind == Type::String)
                return foldOptions_
                           ? foundation::Value(TextFolding::fold(*value.string(), foldOptions_))
                           : value;
            if (number)
                return value.stringValue();
            break;
        case PropertyType::Boolean:
            if (number || kind == Type::String)
                return value.boolValue() ? 1 : 0;
            break;
        case PropertyType::Integer:
            if (kind == Type::Boolean)
                return value.boolValue() ? 1 : 0;
            if (number)
                return value;
            if (kind == Type::String && !numberInText(*value.string()).isNil())
                return numberInText(*value.string());
            break;
        case PropertyType::Real:
        case PropertyType::Date:
            if (number || kind == Type::Date)
                return value.doubleValue();
            if (kind == Type::String && !numberInText(*value.string()).isNil())
                return numberInText(*value.string()).doubleValue();
            break;
        default:
            break;
    }
    fail("the argument for \"" + property_.name + "\" has a type that property cannot hold");
}

void ComparisonTranslator::fail(const std::string& what) const {
    throw PredicateError(what + " in predicate \"" + context_ + "\"");
}

}  // namespace store
