#include "framework/storage/KSRPackageControlFields.h"

#include "foundation/Strings.h"

namespace corvane {

namespace {

std::optional<std::string> text(const foundation::Dictionary& stanza, const char* field) {
    auto found = stanza.find(field);
    if (found == stanza.end() || !found->second.isString())
        return std::nullopt;
    auto value = foundation::trimmed(*found->second.string());
    if (value.empty())
        return std::nullopt;
    return value;
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
        auto relation = foundation::trimmed(entry.substr(open + 1, close - open - 1));
        auto blank = relation.find(' ');
        if (blank == std::string::npos)
            continue;
        auto op = relation.substr(0, blank);
        auto version = foundation::trimmed(relation.substr(blank + 1));
        if (op == ">=" || op == ">>")
            package.minosversion = version;
        else if (op == "<<" || op == "<=")
            package.maxosversion = version;
    }
}

}  // namespace

void KSRPackageControlFields::apply(const foundation::Dictionary& stanza, KSRPackage& package) {
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

}  // namespace corvane
