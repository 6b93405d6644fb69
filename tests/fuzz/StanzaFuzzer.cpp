// Control-file text as repositories and the device hand it over: the stanza reader, the stanza
// views and the dictionaries built from them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "framework/apt/KSParsingUtility.h"
#include "framework/debian/ControlFileParser.h"
#include "framework/debian/StanzaReader.h"

namespace {

using corvane::ControlStanza;
using corvane::StanzaReader;

struct ReadStanza {
    std::string_view text;
    std::vector<std::pair<std::string_view, std::string>> fields;

    bool operator==(const ReadStanza&) const = default;
};

bool within(std::string_view part, std::string_view whole) {
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

std::vector<ReadStanza> readAll(std::string_view text) {
    std::vector<ReadStanza> stanzas;
    StanzaReader reader(text);
    while (const auto stanza = reader.next()) {
        FUZZ_CHECK(within(stanza->text(), text));
        FUZZ_CHECK(!stanza->text().empty());
        ReadStanza read{stanza->text(), {}};
        for (const auto& field : stanza->fields()) {
            FUZZ_CHECK(within(field.name, stanza->text()));
            FUZZ_CHECK(within(field.text, stanza->text()));
            FUZZ_CHECK(!field.name.empty());
            FUZZ_CHECK(field.name.find('\n') == std::string_view::npos);
            FUZZ_CHECK(field.firstLineLength <= field.text.size());
            FUZZ_CHECK(stanza->field(field.name) != nullptr);
            read.fields.emplace_back(field.name, field.value());
        }
        stanzas.push_back(std::move(read));
    }
    return stanzas;
}

// Where the text may be cut, reading the two parts gives what reading the whole gives.
void checkCut(std::string_view text, std::size_t from, const std::vector<ReadStanza>& whole) {
    const auto cut = StanzaReader::endOfLastStanza(text, from);
    if (cut == std::string_view::npos)
        return;
    FUZZ_CHECK(cut >= from && cut <= text.size());
    auto parts = readAll(text.substr(0, cut));
    const auto rest = readAll(text.substr(cut));
    parts.insert(parts.end(), rest.begin(), rest.end());
    FUZZ_CHECK(parts == whole);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto stanzas = readAll(text);
    checkCut(text, 0, stanzas);
    checkCut(text, size / 2, stanzas);

    const auto records = corvane::ControlFileParser::parse(text);
    FUZZ_CHECK(records.size() == stanzas.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        FUZZ_CHECK(records[i]["rawPackage"].optionalString() == std::string(stanzas[i].text));
    for (const auto& record : corvane::KSParsingUtility::arrayFromPackagesFromString(text))
        FUZZ_CHECK(record["Package"].isString());
    return 0;
}
