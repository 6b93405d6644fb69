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
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "TestRecords.h"
#include "store/PredicateError.h"
#include "store/Realm.h"

namespace {

using foundation::Value;
using store_test::Package;

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
    configuration.setObjectTypes<Package, store_test::Source>();
    auto realm = store::Realm::open(configuration);
    FUZZ_CHECK(realm.ok());
    realm->write([&] {
        auto tweak = store_test::package("com.example.tweak", "Café Tweak");
        tweak.maintainer = "Jane";
        tweak.isInstalled = true;
        tweak.isHeld = false;
        tweak.queueOperation = 1;
        tweak.rating = 4.5;
        tweak.installDate = 1.7e9;
        tweak.installedFiles = {"/usr/lib/a.dylib"};
        tweak.availableVersions = {{"com.example.tweak-1.0", "1.0"}};
        realm->addOrUpdateObject(tweak);
        realm->addOrUpdateObject(store_test::package("com.example.theme"));
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
