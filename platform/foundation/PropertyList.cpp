#include "foundation/PropertyList.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>

#include "foundation/FileManager.h"
#include "foundation/PropertyListGuard.h"
#include "foundation/Strings.h"

namespace foundation {

namespace {

constexpr double kSecondsFrom1970To2001 = 978307200;
constexpr const char* kErrorDomain = "NSCocoaErrorDomain";

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

struct MallocDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T>
using Malloced = std::unique_ptr<T, MallocDeleter>;

Error readError(const std::string& problem) {
    return Error::make(kErrorDomain, PropertyList::kReadCorruptErrorCode,
                       "The property list isn't in the correct format: " + problem + ".");
}

Error writeError(const std::string& problem) {
    return Error::make(kErrorDomain, PropertyList::kWriteInvalidErrorCode,
                       "The property list can't be written: " + problem + ".");
}

// Why a string or key cannot go into a list, or nullptr.
const char* textProblem(const std::string& text) {
    if (text.find('\0') != std::string::npos)
        return "a string holds a NUL character";
    if (!isValidUtf8(text))
        return "a string is not UTF-8";
    return nullptr;
}

struct ListDate {
    std::int32_t seconds = 0;
    std::int32_t microseconds = 0;
};

// A date since 2001 as a list holds it, or nullopt outside the range it can hold. Reading takes
// the same range as writing, so that whatever was read can be written again.
std::optional<ListDate> listDate(double sinceReference) {
    double seconds = std::floor(sinceReference);
    auto microseconds = static_cast<std::int32_t>(std::lround((sinceReference - seconds) * 1e6));
    if (microseconds == 1000000) {
        seconds += 1;
        microseconds = 0;
    }
    if (!(seconds >= std::numeric_limits<std::int32_t>::min() &&
          seconds <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return ListDate{static_cast<std::int32_t>(seconds), microseconds};
}

constexpr const char* kDateOutOfRange = "a date lies outside the range a property list can hold";

// libplist hands out a date as whole seconds and microseconds cut from one real number, so a
// negative date's fraction has the wrong sign, and one between -1 and 0 looks positive; a
// comparison with the negative candidate tells them apart.
double secondsSince2001(plist_t node) {
    std::int32_t seconds = 0;
    std::int32_t microseconds = 0;
    plist_get_date_val(node, &seconds, &microseconds);
    double fraction = microseconds / 1e6;
    if (seconds < 0)
        return seconds - fraction;
    if (seconds == 0 && microseconds > 0) {
        Node negative(plist_new_date(-1, 1000000 - microseconds));
        if (plist_compare_node_value(node, negative.get()))
            return -fraction;
    }
    return seconds + fraction;
}

// An integer written as unsigned beyond the signed range reads back as the same 64 bits as a
// negative one; only the stored width, which a comparison sees, differs.
Value integerValue(plist_t node) {
    std::uint64_t bits = 0;
    plist_get_uint_val(node, &bits);
    if (bits <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return static_cast<std::int64_t>(bits);
    Node asSigned(plist_new_uint(bits));
    if (plist_compare_node_value(node, asSigned.get()))
        return static_cast<std::int64_t>(bits);
    return static_cast<double>(bits);
}

class ValueReader {
  public:
    std::optional<Value> read(plist_t node) {
        switch (plist_get_node_type(node)) {
            case PLIST_BOOLEAN: {
                std::uint8_t b = 0;
                plist_get_bool_val(node, &b);
                return Value(b != 0);
            }
            case PLIST_UINT:
                return integerValue(node);
            case PLIST_REAL: {
                double d = 0;
                plist_get_real_val(node, &d);
                return Value(d);
            }
            case PLIST_STRING:
                return readString(node);
            case PLIST_DATA:
                return readData(node);
            case PLIST_DATE: {
                const double since = secondsSince2001(node);
                if (!listDate(since))
                    return fail(kDateOutOfRange);
                return Value::date(since + kSecondsFrom1970To2001);
            }
            case PLIST_ARRAY:
                return readArray(node);
            case PLIST_DICT:
                return readDictionary(node);
            default:
                return fail("it holds a type that has no value form");
        }
    }

    const std::string& problem() const { return problem_; }

  private:
    std::optional<Value> fail(std::string problem) {
        problem_ = std::move(problem);
        return std::nullopt;
    }

    std::optional<Value> readString(plist_t node) {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        if (!text || !isValidUtf8(text))
            return fail("a string is not UTF-8");
        return Value(std::string(text));
    }

    std::optional<Value> readData(plist_t node) {
        std::uint64_t length = 0;
        const auto* bytes =
            reinterpret_cast<const std::uint8_t*>(plist_get_data_ptr(node, &length));
        return Value(bytes ? Bytes(bytes, bytes + length) : Bytes{});
    }

    std::optional<Value> readArray(plist_t node) {
        Array array;
        std::uint32_t count = plist_array_get_size(node);
        array.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            auto element = read(plist_array_get_item(node, i));
            if (!element)
                return std::nullopt;
            array.push_back(std::move(*element));
        }
        return Value(std::move(array));
    }

    std::optional<Value> readDictionary(plist_t node) {
        Dictionary dictionary;
        plist_dict_iter raw = nullptr;
        plist_dict_new_iter(node, &raw);
        Malloced<void> iterator(raw);
        for (;;) {
            char* rawKey = nullptr;
            plist_t member = nullptr;
            plist_dict_next_item(node, iterator.get(), &rawKey, &member);
            Malloced<char> key(rawKey);
            if (!member)
                break;
            if (!key || !isValidUtf8(key.get()))
                return fail("a key is not UTF-8");
            auto value = read(member);
            if (!value)
                return std::nullopt;
            dictionary[key.get()] = std::move(*value);
        }
        return Value(std::move(dictionary));
    }

    std::string problem_;
};

class NodeWriter {
  public:
    Node write(const Value& value, std::size_t depth = 0) {
        switch (value.type()) {
            case Value::Type::Nil:
                return fail("nil has no property-list form");
            case Value::Type::Null:
                return fail("the null marker has no property-list form");
            case Value::Type::Boolean:
                return Node(plist_new_bool(value.boolValue()));
            case Value::Type::Integer:
                return Node(plist_new_uint(static_cast<std::uint64_t>(value.integerValue())));
            case Value::Type::Real:
                return Node(plist_new_real(value.doubleValue()));
            case Value::Type::String:
                return writeString(*value.string());
            case Value::Type::Data: {
                const Bytes& data = *value.data();
                return Node(
                    plist_new_data(reinterpret_cast<const char*>(data.data()), data.size()));
            }
            case Value::Type::Date:
                return writeDate(value.dateValue()->secondsSince1970);
            case Value::Type::Array:
                return writeArray(value.array(), depth);
            case Value::Type::Dictionary:
                return writeDictionary(value.dictionary(), depth);
        }
        return fail("unknown type");
    }

    const std::string& problem() const { return problem_; }

  private:
    Node fail(std::string problem) {
        problem_ = std::move(problem);
        return nullptr;
    }

    Node writeString(const std::string& text) {
        if (const char* problem = textProblem(text))
            return fail(problem);
        return Node(plist_new_string(text.c_str()));
    }

    Node writeDate(double secondsSince1970) {
        const auto date = listDate(secondsSince1970 - kSecondsFrom1970To2001);
        if (!date)
            return fail(kDateOutOfRange);
        return Node(plist_new_date(date->seconds, date->microseconds));
    }

    Node writeArray(const Array& array, std::size_t depth) {
        if (depth >= PropertyListGuard::kMaximumDepth)
            return fail("nested too deeply");
        Node node(plist_new_array());
        for (const Value& element : array) {
            if (element.isNil())
                continue;
            Node child = write(element, depth + 1);
            if (!child)
                return nullptr;
            plist_array_append_item(node.get(), child.release());
        }
        return node;
    }

    Node writeDictionary(const Dictionary& dictionary, std::size_t depth) {
        if (depth >= PropertyListGuard::kMaximumDepth)
            return fail("nested too deeply");
        Node node(plist_new_dict());
        for (const auto& [key, member] : dictionary) {
            if (member.isNil())
                continue;
            if (const char* problem = textProblem(key))
                return fail(problem);
            Node child = write(member, depth + 1);
            if (!child)
                return nullptr;
            plist_dict_set_item(node.get(), key.c_str(), child.release());
        }
        return node;
    }

    std::string problem_;
};

Result<Node> toNode(const Value& value) {
    NodeWriter writer;
    Node node = writer.write(value);
    if (!node)
        return writeError(writer.problem());
    return node;
}

std::string tooLarge() {
    return "it is larger than " + std::to_string(PropertyListGuard::kMaximumSize) + " bytes";
}

}  // namespace

Result<Value> PropertyList::read(const Bytes& data) {
    if (data.size() > PropertyListGuard::kMaximumSize)
        return readError(tooLarge());
    const auto* bytes = reinterpret_cast<const char*>(data.data());
    auto length = static_cast<std::uint32_t>(data.size());
    bool binary = plist_is_binary(bytes, length);
    auto problem = binary ? PropertyListGuard::problemWithBinary(data)
                          : PropertyListGuard::problemWithXML(std::string_view(bytes, length));
    if (problem)
        return readError(*problem);

    plist_t raw = nullptr;
    if (binary)
        plist_from_bin(bytes, length, &raw);
    else
        plist_from_xml(bytes, length, &raw);
    Node root(raw);
    if (!root)
        return readError(binary ? "the binary list is damaged" : "the XML is malformed");
    ValueReader reader;
    auto value = reader.read(root.get());
    if (!value)
        return readError(reader.problem());
    return std::move(*value);
}

Result<Value> PropertyList::readFile(const std::string& path) {
    auto size = FileManager::fileSize(path);
    if (size && *size > PropertyListGuard::kMaximumSize)
        return readError(tooLarge());
    auto data = FileManager::readFile(path);
    FOUNDATION_RETURN_IF_ERROR(data);
    return read(*data);
}

Result<std::string> PropertyList::writeXML(const Value& value) {
    auto node = toNode(value);
    FOUNDATION_RETURN_IF_ERROR(node);
    char* raw = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(node->get(), &raw, &length);
    if (!raw)
        return writeError("the list library failed");
    std::string xml(raw, length);
    plist_to_xml_free(raw);
    return xml;
}

Result<Bytes> PropertyList::writeBinary(const Value& value) {
    auto node = toNode(value);
    FOUNDATION_RETURN_IF_ERROR(node);
    char* raw = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(node->get(), &raw, &length);
    if (!raw)
        return writeError("the list library failed");
    const auto* begin = reinterpret_cast<const std::uint8_t*>(raw);
    Bytes data(begin, begin + length);
    plist_to_bin_free(raw);
    return data;
}

Status PropertyList::writeFile(const std::string& path, const Value& value, Format format) {
    if (format == Format::Binary) {
        auto data = writeBinary(value);
        FOUNDATION_RETURN_IF_ERROR(data);
        return FileManager::writeAtomically(path, *data);
    }
    auto xml = writeXML(value);
    FOUNDATION_RETURN_IF_ERROR(xml);
    return FileManager::writeAtomically(path, *xml);
}

}  // namespace foundation
