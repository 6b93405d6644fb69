#include "framework/storage/KSRPackageControlFields.h"

#include "foundation/Strings.h"
#include "framework/debian/VersionRelation.h"

namespace corvane {

namespace {

bool endsInText(std::string_view value) {
    const auto isText = [](char c) {
        return static_cast<unsigned char>(c) < 0x80 && c != ' ' && (c < '\t' || c > '\r');
    };
    return !value.empty() && isText(value.front()) && isText(value.back());
}

// An index has tens of thousands of values, nearly all with nothing to trim: those are kept as
// they are rather than copied.
std::optional<std::string> nonEmpty(std::string value) {
    if (endsInText(value))
        return value;
    auto trimmedValue = foundation::trimmed(value);
    if (trimmedValue.empty())
        return std::nullopt;
    return trimmedValue;
}

std::optional<std::string> text(const foundation::Dictionary& stanza, std::string_view field) {
    auto found = stanza.find(std::string(field));
    if (found == stanza.end() || !found->second.isString())
        return std::nullopt;
    return nonEmpty(*found->second.string());
}

bool isAddressField(std::string_view name, std::string_view contact) {
    return name.size() == contact.size() + 5 && name.starts_with(contact) &&
           name.ends_with("Email");
}

// Author and Maintainer fill two entries, the person and field + "Email", and a later field of
// either name replaces what an earlier one set, so every field of the stanza counts.
std::optional<std::string> contactText(const ControlStanza& stanza, std::string_view contact,
                                       bool address) {
    std::optional<std::string> result;
    for (const auto& field : stanza.fields()) {
        const bool isContact = field.name == contact;
        const bool isAddress = isAddressField(field.name, contact);
        if (!isContact && !isAddress)
            continue;
        auto value = field.value();
        const auto split = isContact ? contactOf(value) : std::nullopt;
        if (split)
            result = std::string(address ? split->address : split->person);
        else if (isContact != address)
            result = std::move(value);
    }
    return result ? nonEmpty(std::move(*result)) : std::nullopt;
}

std::optional<std::string> text(const ControlStanza& stanza, std::string_view name) {
    for (const std::string_view contact : {"Author", "Maintainer"}) {
        if (name == contact || isAddressField(name, contact))
            return contactText(stanza, contact, name != contact);
    }
    const auto* field = stanza.field(name);
    return field ? nonEmpty(field->value()) : std::nullopt;
}

// "a, b (>= 1) | c" -> {"a", "b (>= 1) | c"}
std::vector<std::string> entries(const std::optional<std::string>& list) {
    std::vector<std::string> result;
    if (!list)
        return result;
    for (const auto& entry : foundation::split(*list, ",")) {
        auto trimmedEntry = foundation::trimmed(entry);
        if (!trimmedEntry.empty())
            result.push_back(trimmedEntry);
    }
    return result;
}

// "Addons (Widgets)" -> category "Addons", subcategory "Widgets".
void applySection(const std::optional<std::string>& section, KSRPackage& package) {
    package.category = section;
    package.subcategory.reset();
    if (!section)
        return;
    auto open = section->find(" (");
    if (open == std::string::npos || !foundation::hasSuffix(*section, ")"))
        return;
    package.category = foundation::trimmed(section->substr(0, open));
    package.subcategory = section->substr(open + 2, section->size() - open - 3);
}

// "firmware (>= 12.0)" bounds the iOS versions the package is made for.
void applyFirmwareBounds(const std::vector<std::string>& dependencies, KSRPackage& package) {
    package.minosversion.reset();
    package.maxosversion.reset();
    for (const auto& entry : dependencies) {
        if (!foundation::hasPrefix(entry, "firmware") || entry.find('|') != std::string::npos)
            continue;
        auto open = entry.find('(');
        auto close = entry.find(')', open);
        if (open == std::string::npos || close == std::string::npos)
            continue;
        auto bound = foundation::trimmed(entry.substr(open + 1, close - open - 1));
        auto operatorEnd = bound.find_first_not_of("<>=");
        auto relation = relationFromOperator(bound.substr(0, operatorEnd));
        if (!relation || operatorEnd == std::string::npos)
            continue;
        auto version = foundation::trimmed(bound.substr(operatorEnd));
        if (*relation == VersionRelation::Greater || *relation == VersionRelation::GreaterOrEqual)
            package.minosversion = version;
        else if (*relation == VersionRelation::Less || *relation == VersionRelation::LessOrEqual)
            package.maxosversion = version;
    }
}

template <typename Stanza>
void applyFields(const Stanza& stanza, KSRPackage& package) {
    package.name = text(stanza, "Name");
    if (!package.name)
        package.name = text(stanza, "Package");
    package.version = text(stanza, "Version");
    package.Description = text(stanza, "Description");
    applySection(text(stanza, "Section"), package);
    package.maintainer = text(stanza, "Maintainer");
    package.maintainerEmail = text(stanza, "MaintainerEmail");
    package.author = text(stanza, "Author");
    package.authorEmail = text(stanza, "AuthorEmail");
    package.contact = package.authorEmail ? package.authorEmail : package.maintainerEmail;
    package.website = text(stanza, "Depiction");
    package.sileoDepiction = text(stanza, "SileoDepiction");
    package.iconURL = text(stanza, "Icon");
    package.size = text(stanza, "Size");
    package.installedSize = text(stanza, "Installed-Size");
    package.filename = text(stanza, "Filename");
    package.md5sum = text(stanza, "MD5sum");
    package.sha256 = text(stanza, "SHA256");
    package.architecture = text(stanza, "Architecture");
    package.depends = text(stanza, "Depends");
    package.dependencies = entries(package.depends);
    package.conflicts = entries(text(stanza, "Conflicts"));
    applyFirmwareBounds(package.dependencies, package);
    package.tag = text(stanza, "Tag");
}

}  // namespace

void KSRPackageControlFields::apply(const foundation::Dictionary& stanza, KSRPackage& package) {
    applyFields(stanza, package);
}

void KSRPackageControlFields::apply(const ControlStanza& stanza, KSRPackage& package) {
    applyFields(stanza, package);
}

}  // namespace corvane
