#include "framework/debian/ControlFileParser.h"

#include <string>

#include "framework/debian/StanzaReader.h"

namespace corvane {

namespace {

// "Name <address>" -> field = "Name", field + "Email" = "address"; false for any other form.
bool addContact(foundation::Dictionary& record, std::string_view name, std::string_view value) {
    auto contact = contactOf(value);
    if (!contact)
        return false;
    record.insert_or_assign(std::string(name), foundation::Value(contact->person));
    record.insert_or_assign(std::string(name) + "Email", foundation::Value(contact->address));
    return true;
}

foundation::Value makeRecord(const ControlStanza& stanza) {
    foundation::Value record;
    auto& dictionary = record.mutableDictionary();
    for (const auto& field : stanza.fields()) {
        std::string value = field.value();
        if ((field.name == "Author" || field.name == "Maintainer") &&
            addContact(dictionary, field.name, value))
            continue;
        dictionary.insert_or_assign(std::string(field.name), foundation::Value(std::move(value)));
    }
    dictionary.insert_or_assign("rawPackage", foundation::Value(stanza.text()));
    return record;
}

}  // namespace

foundation::Array ControlFileParser::parse(std::string_view text, std::string_view requiredField) {
    foundation::Array records;
    StanzaReader reader(text);
    while (const auto stanza = reader.next()) {
        if (requiredField.empty() || stanza->contains(requiredField))
            records.push_back(makeRecord(*stanza));
    }
    return records;
}

}  // namespace corvane
