#include "foundation/JSON.h"

#include <openssl/evp.h>

#include <cmath>
#include <nlohmann/json.hpp>

namespace foundation {

namespace {

using Json = nlohmann::json;

Error readError(const std::string& description) {
    return Error::make("NSCocoaErrorDomain", JSON::kReadCorruptErrorCode,
                       "The JSON data isn't in the correct format: " + description);
}

// Builds the value while the parser reads, so that no JSON tree is held twice and the depth
// limit stops a hostile document before it costs memory.
class ValueBuilder : public nlohmann::json_sax<Json> {
  public:
    bool null() override { return add(Value::null()); }
    bool boolean(bool b) override { return add(b); }
    bool number_integer(std::int64_t i) override { return add(i); }
    bool number_unsigned(std::uint64_t u) override {
        if (u <= static_cast<std::uint64_t>(INT64_MAX))
            return add(static_cast<std::int64_t>(u));
        return add(static_cast<double>(u));
    }
    bool number_float(double d, const std::string& text) override {
        if (!std::isfinite(d))
            return fail("the number " + text + " is out of range");
        return add(d);
    }
    bool string(std::string& s) override { return add(std::move(s)); }
    bool binary(nlohmann::json::binary_t&) override { return fail("binary values are not JSON"); }
    bool start_object(std::size_t) override { return open(Value(Dictionary{})); }
    bool key(std::string& key) override {
        stack_.back().key = std::move(key);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Value(Array{})); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        return fail(error.what());
    }

    Value takeRoot() { return std::move(root_); }
    const std::string& problem() const { return problem_; }

  private:
    struct Frame {
        Value container;
        std::string key;
    };

    bool add(Value value) {
        if (stack_.empty()) {
            root_ = std::move(value);
            return true;
        }
        Frame& top = stack_.back();
        if (top.container.isArray())
            top.container.mutableArray().push_back(std::move(value));
        else
            top.container.mutableDictionary()[top.key] = std::move(value);
        return true;
    }
    bool open(Value container) {
        if (stack_.size() >= JSON::kMaximumDepth)
            return fail("nested deeper than " + std::to_string(JSON::kMaximumDepth) + " levels");
        stack_.push_back({std::move(container), {}});
        return true;
    }
    bool close() {
        Value finished = std::move(stack_.back().container);
        stack_.pop_back();
        return add(std::move(finished));
    }
    bool fail(std::string problem) {
        problem_ = std::move(problem);
        return false;
    }

    std::vector<Frame> stack_;
    Value root_;
    std::string problem_;
};

std::string base64(const Bytes& data) {
    std::string text(4 * ((data.size() + 2) / 3) + 1, '\0');
    int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), data.data(),
                                 static_cast<int>(data.size()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

Json toJson(const Value& value) {
    switch (value.type()) {
        case Value::Type::Nil:
        case Value::Type::Null:
            return nullptr;
        case Value::Type::Boolean:
            return value.boolValue();
        case Value::Type::Integer:
            return value.integerValue();
        case Value::Type::Real:
            return value.doubleValue();
        case Value::Type::String:
            return *value.string();
        case Value::Type::Data:
            return base64(*value.data());
        case Value::Type::Date:
            return value.dateValue()->secondsSince1970;
        case Value::Type::Array: {
            Json array = Json::array();
            for (const Value& element : value.array())
                if (!element.isNil())
                    array.push_back(toJson(element));
            return array;
        }
        case Value::Type::Dictionary: {
            Json object = Json::object();
            for (const auto& [key, member] : value.dictionary())
                if (!member.isNil())
                    object[key] = toJson(member);
            return object;
        }
    }
    return nullptr;
}

}  // namespace

Result<Value> JSON::parse(std::string_view text) {
    ValueBuilder builder;
    if (!Json::sax_parse(text.begin(), text.end(), &builder))
        return readError(builder.problem());
    return builder.takeRoot();
}

Result<Value> JSON::parse(const Bytes& data) {
    return parse(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

std::string JSON::serialize(const Value& value, bool pretty) {
    return toJson(value).dump(pretty ? 2 : -1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace foundation
