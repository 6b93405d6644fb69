#pragma once

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "store/ListCodec.h"
#include "store/PropertyType.h"

namespace store {

// How a member type of a record is stored and shown as a Value. Schema<T> picks the traits by
// the member's type; dates are doubles (seconds since 1970) declared through Schema::date().
template <typename M>
struct PropertyTraits;

template <>
struct PropertyTraits<std::string> {
    static constexpr PropertyType type = PropertyType::String;
    static constexpr bool optional = false;
    static foundation::Value toValue(const std::string& member) { return member; }
    static std::string fromValue(const foundation::Value& value) {
        return value.isString() ? *value.string() : value.stringValue();
    }
    static void bind(SQLite::Statement& statement, int index, const std::string& member) {
        statement.bindNoCopy(index, member);
    }
    static std::string read(const SQLite::Column& column) {
        return column.isNull() ? std::string() : column.getString();
    }
};

template <>
struct PropertyTraits<bool> {
    static constexpr PropertyType type = PropertyType::Boolean;
    static constexpr bool optional = false;
    static foundation::Value toValue(bool member) { return member; }
    static bool fromValue(const foundation::Value& value) { return value.boolValue(); }
    static void bind(SQLite::Statement& statement, int index, bool member) {
        statement.bind(index, member ? 1 : 0);
    }
    static bool read(const SQLite::Column& column) { return column.getInt64() != 0; }
};

template <typename I>
requires std::integral<I> &&(!std::same_as<I, bool>)struct PropertyTraits<I> {
    static constexpr PropertyType type = PropertyType::Integer;
    static constexpr bool optional = false;
    static foundation::Value toValue(I member) {
        return foundation::Value(static_cast<long long>(member));
    }
    static I fromValue(const foundation::Value& value) {
        return static_cast<I>(value.integerValue());
    }
    static void bind(SQLite::Statement& statement, int index, I member) {
        statement.bind(index, static_cast<std::int64_t>(member));
    }
    static I read(const SQLite::Column& column) { return static_cast<I>(column.getInt64()); }
};

template <>
struct PropertyTraits<double> {
    static constexpr PropertyType type = PropertyType::Real;
    static constexpr bool optional = false;
    static foundation::Value toValue(double member) { return member; }
    static double fromValue(const foundation::Value& value) { return value.doubleValue(); }
    static void bind(SQLite::Statement& statement, int index, double member) {
        statement.bind(index, member);
    }
    static double read(const SQLite::Column& column) { return column.getDouble(); }
};

template <>
struct PropertyTraits<std::vector<std::string>> {
    static constexpr PropertyType type = PropertyType::StringList;
    static constexpr bool optional = false;
    static foundation::Value toValue(const std::vector<std::string>& member) {
        foundation::Value::Array array(member.begin(), member.end());
        return array;
    }
    static std::vector<std::string> fromValue(const foundation::Value& value) {
        std::vector<std::string> strings;
        for (const auto& element : value.array())
            strings.push_back(element.isString() ? *element.string() : element.stringValue());
        return strings;
    }
    // An empty list is stored as NULL.
    static void bind(SQLite::Statement& statement, int index,
                     const std::vector<std::string>& member) {
        if (member.empty())
            statement.bind(index);
        else
            statement.bind(index, ListCodec::encode(member));
    }
    static std::vector<std::string> read(const SQLite::Column& column) {
        if (column.isNull())
            return {};
        return ListCodec::decodeStrings(
            std::string_view(column.getText(), static_cast<std::size_t>(column.getBytes())));
    }
};

// A double read and written as a date Value.
struct DateTraits : PropertyTraits<double> {
    static constexpr PropertyType type = PropertyType::Date;
    static foundation::Value toValue(double member) { return foundation::Value::date(member); }
};

// Nil and the null marker are the unset value; NULL in the column.
template <typename Base>
struct OptionalTraits {
    using Member = std::optional<decltype(Base::fromValue(foundation::Value()))>;
    static constexpr PropertyType type = Base::type;
    static constexpr bool optional = true;
    static foundation::Value toValue(const Member& member) {
        return member ? Base::toValue(*member) : foundation::Value();
    }
    static Member fromValue(const foundation::Value& value) {
        if (value.isNilOrNull())
            return std::nullopt;
        return Base::fromValue(value);
    }
    static void bind(SQLite::Statement& statement, int index, const Member& member) {
        if (member)
            Base::bind(statement, index, *member);
        else
            statement.bind(index);
    }
    static Member read(const SQLite::Column& column) {
        if (column.isNull())
            return std::nullopt;
        return Base::read(column);
    }
};

template <typename M>
struct PropertyTraits<std::optional<M>> : OptionalTraits<PropertyTraits<M>> {};

}  // namespace store
