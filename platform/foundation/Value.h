#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace foundation {

// A dynamic value as property lists, JSON documents and notification user info carry it.
// Nil (absent) and the null marker are distinct: a dictionary lookup of a missing key gives nil,
// a JSON null gives the null marker.
class Value {
  public:
    enum class Type { Nil, Null, Boolean, Integer, Real, String, Data, Date, Array, Dictionary };
    using Bytes = std::vector<std::uint8_t>;
    using Array = std::vector<Value>;
    using Dictionary = std::map<std::string, Value>;
    struct Date {
        double secondsSince1970 = 0;
        bool operator==(const Date&) const = default;
    };

    Value() = default;
    Value(std::nullptr_t) = delete;
    Value(bool b) : storage_(b) {}
    Value(int i) : storage_(std::int64_t{i}) {}
    Value(long i) : storage_(std::int64_t{i}) {}
    Value(long long i) : storage_(std::int64_t{i}) {}
    Value(unsigned i) : storage_(std::int64_t{i}) {}
    Value(unsigned long i) : storage_(static_cast<std::int64_t>(i)) {}
    Value(unsigned long long i) : storage_(static_cast<std::int64_t>(i)) {}
    Value(double d) : storage_(d) {}
    Value(const char* s) : storage_(s ? Storage(std::string(s)) : Storage()) {}
    Value(std::string s) : storage_(std::move(s)) {}
    Value(std::string_view s) : storage_(std::string(s)) {}
    Value(Bytes data) : storage_(std::move(data)) {}
    Value(Date date) : storage_(date) {}
    Value(Array array);
    Value(Dictionary dictionary);
    template <typename T>
    Value(const std::optional<T>& optional) : Value(optional ? Value(*optional) : Value()) {}

    static Value null();
    static Value date(double secondsSince1970) { return Value(Date{secondsSince1970}); }

    Type type() const;
    bool isNil() const { return type() == Type::Nil; }
    bool isNull() const { return type() == Type::Null; }
    bool isNilOrNull() const { return isNil() || isNull(); }
    bool isBool() const { return type() == Type::Boolean; }
    bool isNumber() const;
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDictionary() const { return type() == Type::Dictionary; }

    // Conversions in the manner of NSNumber and NSString: a number's boolValue is "not zero",
    // a string's is "starts with Y, y, T, t or a non-zero digit"; anything else is NO / 0.
    bool boolValue() const;
    std::int64_t integerValue() const;
    double doubleValue() const;
    // Strings as they are, numbers in their shortest form ("3", "12.5"), booleans "1"/"0",
    // everything else empty.
    std::string stringValue() const;

    // Typed access; nullptr or nullopt when the value has another type.
    const std::string* string() const;
    std::optional<std::string> optionalString() const;
    const Bytes* data() const;
    std::optional<Date> dateValue() const;
    const Array& array() const;            // empty when not an array
    const Dictionary& dictionary() const;  // empty when not a dictionary

    // Copy-on-write mutation; turns a nil value into an empty container first.
    Array& mutableArray();
    Dictionary& mutableDictionary();

    // Dictionary lookup (nil when absent or not a dictionary) and array index (nil when out of
    // range).
    const Value& operator[](const std::string& key) const;
    const Value& operator[](const char* key) const { return (*this)[std::string(key)]; }
    const Value& operator[](std::size_t index) const;
    bool contains(const std::string& key) const;
    std::size_t count() const;  // elements of an array or dictionary, bytes of data, else 0

    bool operator==(const Value& other) const;

  private:
    struct NullMarker {
        bool operator==(const NullMarker&) const = default;
    };
    using Storage =
        std::variant<std::monostate, NullMarker, bool, std::int64_t, double, std::string, Bytes,
                     Date, std::shared_ptr<Array>, std::shared_ptr<Dictionary>>;
    explicit Value(Storage storage) : storage_(std::move(storage)) {}
    Storage storage_;
};

using Dictionary = Value::Dictionary;
using Array = Value::Array;
using Bytes = Value::Bytes;

// The "present text" rule: not nil, not the null marker, and not empty.
bool isPresentText(const Value& value);
bool isPresentText(const std::optional<std::string>& text);

}  // namespace foundation
