#include "foundation/Value.h"

#include <cmath>
#include <cstdio>

namespace foundation {

namespace {
const Value kNil;
const Value::Array kEmptyArray;
const Value::Dictionary kEmptyDictionary;

std::string shortestNumberText(double d) {
    if (std::isnan(d))
        return "nan";
    if (std::isinf(d))
        return d > 0 ? "inf" : "-inf";
    if (d == std::floor(d) && std::fabs(d) < 1e15) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(d));
        return buffer;
    }
    char buffer[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, d);
        if (std::strtod(buffer, nullptr) == d)
            break;
    }
    return buffer;
}
}  // namespace

Value::Value(Array array) : storage_(std::make_shared<Array>(std::move(array))) {}
Value::Value(Dictionary dictionary)
    : storage_(std::make_shared<Dictionary>(std::move(dictionary))) {}

Value Value::null() {
    return Value(Storage(NullMarker{}));
}

Value::Type Value::type() const {
    return static_cast<Type>(storage_.index());
}

bool Value::isNumber() const {
    auto t = type();
    return t == Type::Integer || t == Type::Real || t == Type::Boolean;
}

bool Value::boolValue() const {
    switch (type()) {
        case Type::Boolean:
            return std::get<bool>(storage_);
        case Type::Integer:
            return std::get<std::int64_t>(storage_) != 0;
        case Type::Real:
            return std::get<double>(storage_) != 0;
        case Type::String: {
            const auto& s = std::get<std::string>(storage_);
            std::size_t i = s.find_first_not_of(" \t\n");
            if (i == std::string::npos)
                return false;
            if (s[i] == '+' || s[i] == '-')
                ++i;
            while (i < s.size() && s[i] == '0')
                ++i;
            if (i >= s.size())
                return false;
            char c = s[i];
            return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
        }
        default:
            return false;
    }
}

std::int64_t Value::integerValue() const {
    switch (type()) {
        case Type::Boolean:
            return std::get<bool>(storage_) ? 1 : 0;
        case Type::Integer:
            return std::get<std::int64_t>(storage_);
        case Type::Real: {
            double d = std::get<double>(storage_);
            if (!std::isfinite(d))
                return 0;
            if (d >= 9.2e18)
                return INT64_MAX;
            if (d <= -9.2e18)
                return INT64_MIN;
            return static_cast<std::int64_t>(d);
        }
        case Type::String:
            return std::strtoll(std::get<std::string>(storage_).c_str(), nullptr, 10);
        default:
            return 0;
    }
}

double Value::doubleValue() const {
    switch (type()) {
        case Type::Boolean:
            return std::get<bool>(storage_) ? 1 : 0;
        case Type::Integer:
            return static_cast<double>(std::get<std::int64_t>(storage_));
        case Type::Real:
            return std::get<double>(storage_);
        case Type::String:
            return std::strtod(std::get<std::string>(storage_).c_str(), nullptr);
        case Type::Date:
            return std::get<Date>(storage_).secondsSince1970;
        default:
            return 0;
    }
}

std::string Value::stringValue() const {
    switch (type()) {
        case Type::String:
            return std::get<std::string>(storage_);
        case Type::Boolean:
            return std::get<bool>(storage_) ? "1" : "0";
        case Type::Integer:
            return std::to_string(std::get<std::int64_t>(storage_));
        case Type::Real:
            return shortestNumberText(std::get<double>(storage_));
        default:
            return {};
    }
}

const std::string* Value::string() const {
    return std::get_if<std::string>(&storage_);
}

std::optional<std::string> Value::optionalString() const {
    if (auto s = string())
        return *s;
    return std::nullopt;
}

const Value::Bytes* Value::data() const {
    return std::get_if<Bytes>(&storage_);
}

std::optional<Value::Date> Value::dateValue() const {
    if (auto d = std::get_if<Date>(&storage_))
        return *d;
    return std::nullopt;
}

const Value::Array& Value::array() const {
    if (auto a = std::get_if<std::shared_ptr<Array>>(&storage_))
        return **a;
    return kEmptyArray;
}

const Value::Dictionary& Value::dictionary() const {
    if (auto d = std::get_if<std::shared_ptr<Dictionary>>(&storage_))
        return **d;
    return kEmptyDictionary;
}

Value::Array& Value::mutableArray() {
    auto a = std::get_if<std::shared_ptr<Array>>(&storage_);
    if (!a) {
        storage_ = std::make_shared<Array>();
        a = std::get_if<std::shared_ptr<Array>>(&storage_);
    } else if (a->use_count() > 1) {
        *a = std::make_shared<Array>(**a);
    }
    return **a;
}

Value::Dictionary& Value::mutableDictionary() {
    auto d = std::get_if<std::shared_ptr<Dictionary>>(&storage_);
    if (!d) {
        storage_ = std::make_shared<Dictionary>();
        d = std::get_if<std::shared_ptr<Dictionary>>(&storage_);
    } else if (d->use_count() > 1) {
        *d = std::make_shared<Dictionary>(**d);
    }
    return **d;
}

const Value& Value::operator[](const std::string& key) const {
    const auto& d = dictionary();
    auto it = d.find(key);
    return it == d.end() ? kNil : it->second;
}

const Value& Value::operator[](std::size_t index) const {
    const auto& a = array();
    return index < a.size() ? a[index] : kNil;
}

bool Value::contains(const std::string& key) const {
    return dictionary().count(key) > 0;
}

std::size_t Value::count() const {
    switch (type()) {
        case Type::Array:
            return array().size();
        case Type::Dictionary:
            return dictionary().size();
        case Type::Data:
            return data()->size();
        default:
            return 0;
    }
}

bool Value::operator==(const Value& other) const {
    if (isNumber() && other.isNumber()) {
        if (type() == Type::Real || other.type() == Type::Real)
            return doubleValue() == other.doubleValue();
        return integerValue() == other.integerValue();
    }
    if (type() != other.type())
        return false;
    switch (type()) {
        case Type::Array:
            return array() == other.array();
        case Type::Dictionary:
            return dictionary() == other.dictionary();
        default:
            return storage_ == other.storage_;
    }
}

bool isPresentText(const Value& value) {
    auto s = value.string();
    return s && !s->empty();
}

bool isPresentText(const std::optional<std::string>& text) {
    return text && !text->empty();
}

}  // namespace foundation
