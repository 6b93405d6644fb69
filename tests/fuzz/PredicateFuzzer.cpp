// Predicates with arguments from outside (search text, identifiers, locations): the translator
// into parameterised SQL, run against a real database. A format either translates or is refused
// with a PredicateError; what translates must run.
//
// The input's first line is the format; each further line is one argument, its first character
// naming the type: 's' text, 'i' integer, 'r' real, 'b' boolean ("1" true), 'n' nil, 'N' the
// null marker, 'a' a list of texts separated by ','.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "store/PredicateError.h"
#include "store/Realm.h"

namespace {

using foundation::Value;

struct Tag {
    std::string key;
    std::string label;

    static const store::Schema<Tag>& schema() {
        static const auto schema = store::Schema<Tag>("Tag", "key")
                                       .property("key", &Tag::key)
                                       .property("label", &Tag::label);
        return schema;
    }
};

struct Package {
    std::string identifier;
    std::optional<std::string> name;
    bool isInstalled = false;
    std::optional<bool> isHeld;
    std::int64_t queueOperation = 0;
    double rating = 0;
    std::optional<double> installDate;
    std::vector<std::string> installedFiles;
    std::vector<Tag> tags;

    static const store::Schema<Package>& schema() {
        static const auto schema = store::Schema<Package>("Package", "identifier")
                                       .property("identifier", &Package::identifier)
                                       .property("name", &Package::name)
                                       .property("isInstalled", &Package::isInstalled)
                                       .property("isHeld", &Package::isHeld)
                                       .property("queueOperation", &Package::queueOperation)
                                       .property("rating", &Package::rating)
                                       .date("installDate", &Package::installDate)
                                       .property("installedFiles", &Package::installedFiles)
                                       .property("tags", &Package::tags);
        return schema;
    }
};

std::filesystem::path folder;

void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

store::Realm openDatabase() {
    std::string pattern = (std::filesystem::temp_directory_path() / "predicate-fuzz-XXXXXX");
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    folder = pattern;
    std::atexit(removeFolder);
    store::Configuration configuration;
    configuration.path = (folder / "fuzz.sqlite").string();
    configuration.schemaVersion = 1;
    configuration.setObjectTypes<Package>();
    auto realm = store::Realm::open(configuration);
    FUZZ_CHECK(realm.ok());
    realm->write([&] {
        Package tweak{"com.example.tweak",  "Café Tweak",     true, false, 1, 4.5, 1.7e9,
                      {"/usr/lib/a.dylib"}, {{"t", "Tweaks"}}};
        Package theme{"com.example.theme", std::nullopt, false, std::nullopt, 0, 0,
                      std::nullopt,        {},           {}};
        realm->addOrUpdateObject(tweak);
        realm->addOrUpdateObject(theme);
    });
    return *realm;
}

std::string_view nextLine(std::string_view& text) {
    const auto newline = text.find('\n');
    const auto line = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    return line;
}

Value argument(std::string_view line) {
    if (line.empty())
        return Value();
    const auto rest = std::string(line.substr(1));
    switch (line.front()) {
        case 's':
            return Value(rest);
        case 'i':
            return Value(std::strtoll(rest.c_str(), nullptr, 10));
        case 'r':
            return Value(std::strtod(rest.c_str(), nullptr));
        case 'b':
            return Value(rest == "1");
        case 'N':
            return Value::null();
        case 'a': {
            Value::Array texts;
            std::string_view list = line.substr(1);
            for (auto comma = list.find(','); comma != std::string_view::npos;
                 comma = list.find(',')) {
                texts.emplace_back(list.substr(0, comma));
                list.remove_prefix(comma + 1);
            }
            texts.emplace_back(list);
            return Value(std::move(texts));
        }
        default:
            return Value();
    }
}

std::size_t count(const store::Realm& realm, std::string_view format, const std::vector<Value>& a) {
    switch (a.size()) {
        case 0:
            return realm.objectsWhere<Package>(format).count();
        case 1:
            return realm.objectsWhere<Package>(format, a[0]).count();
        case 2:
            return realm.objectsWhere<Package>(format, a[0], a[1]).count();
        case 3:
            return realm.objectsWhere<Package>(format, a[0], a[1], a[2]).count();
        default:
            return realm.objectsWhere<Package>(format, a[0], a[1], a[2], a[3]).count();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const store::Realm realm = openDatabase();
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto format = nextLine(text);
    std::vector<Value> arguments;
    while (!text.empty() && arguments.size() < 4)
        arguments.push_back(argument(nextLine(text)));
    try {
        FUZZ_CHECK(count(realm, format, arguments) <= 2);
    } catch (const store::PredicateError&) {
    }
    return 0;
}
