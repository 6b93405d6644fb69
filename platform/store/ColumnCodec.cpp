#include "store/ColumnCodec.h"

#include "store/ListCodec.h"

namespace store {

namespace {

std::string_view textOf(const SQLite::Column& column) {
    return std::string_view(column.getText(), static_cast<std::size_t>(column.getBytes()));
}

void bindList(SQLite::Statement& statement, int index, const foundation::Value& value) {
    if (value.array().empty())
        statement.bind(index);
    else
        statement.bind(index, ListCodec::encode(value.array()));
}

}  // namespace

std::string ColumnCodec::quoted(std::string_view identifier) {
    std::string out = "\"";
    for (char c : identifier) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

const char* ColumnCodec::declaredType(PropertyType type) {
    switch (type) {
        case PropertyType::Integer:
        case PropertyType::Boolean:
            return "INTEGER";
        case PropertyType::Real:
        case PropertyType::Date:
            return "REAL";
        default:
            return "TEXT";
    }
}

void ColumnCodec::bindValue(SQLite::Statement& statement, int index, const Property& property,
                            const foundation::Value& value) {
    if (isListType(property.type))
        return bindList(statement, index, value);
    if (value.isNilOrNull()) {
        if (property.optional)
            return statement.bind(index);
        return bindValue(statement, index, property, property.defaultValue);
    }
    switch (property.type) {
        case PropertyType::String:
            statement.bind(index, value.isString() ? *value.string() : value.stringValue());
            break;
        case PropertyType::Integer:
            statement.bind(index, value.integerValue());
            break;
        case PropertyType::Boolean:
            statement.bind(index, value.boolValue() ? 1 : 0);
            break;
        default:
            statement.bind(index, value.doubleValue());
    }
}

foundation::Value ColumnCodec::readValue(const Property& property, const SQLite::Column& column) {
    if (column.isNull())
        return property.optional ? foundation::Value() : property.defaultValue;
    switch (property.type) {
        case PropertyType::String:
            return column.getString();
        case PropertyType::Integer:
            return foundation::Value(static_cast<long long>(column.getInt64()));
        case PropertyType::Boolean:
            return column.getInt64() != 0;
        case PropertyType::Real:
            return column.getDouble();
        case PropertyType::Date:
            return foundation::Value::date(column.getDouble());
        case PropertyType::StringList:
        case PropertyType::ObjectList:
            return ListCodec::decode(textOf(column));
    }
    return {};
}

foundation::Value ColumnCodec::readRaw(const SQLite::Column& column) {
    if (column.isInteger())
        return foundation::Value(static_cast<long long>(column.getInt64()));
    if (column.isFloat())
        return column.getDouble();
    if (column.isText())
        return column.getString();
    if (column.isBlob()) {
        auto bytes = static_cast<const std::uint8_t*>(column.getBlob());
        return foundation::Value::Bytes(bytes, bytes + column.getBytes());
    }
    return {};
}

void ColumnCodec::bindRaw(SQLite::Statement& statement,
                          const std::vector<foundation::Value>& values) {
    int index = 1;
    for (const auto& value : values)
        bindRaw(statement, index++, value);
}

void ColumnCodec::bindRaw(SQLite::Statement& statement, int index, const foundation::Value& value) {
    using Type = foundation::Value::Type;
    switch (value.type()) {
        case Type::Boolean:
            statement.bind(index, value.boolValue() ? 1 : 0);
            break;
        case Type::Integer:
            statement.bind(index, value.integerValue());
            break;
        case Type::Real:
        case Type::Date:
            statement.bind(index, value.doubleValue());
            break;
        case Type::String:
            statement.bind(index, *value.string());
            break;
        case Type::Data:
            statement.bind(index, value.data()->data(), static_cast<int>(value.data()->size()));
            break;
        default:
            statement.bind(index);
    }
}

}  // namespace store
