#include "screens/archive/ImportedPackageData.h"

#include "foundation/Localization.h"

namespace corvane {

using foundation::Array;
using foundation::Dictionary;
using foundation::localized;
using foundation::Value;

Value ImportedPackageData::loading() {
    return Dictionary{
        {"sections",
         Array{Dictionary{{"rows", Array{Dictionary{{"title", "Loading Package Info"}}}}}}}};
}

Value ImportedPackageData::forControl(const KSArchiveControl& control, bool ownPackage) {
    Array sections;
    if (ownPackage) {
        Dictionary warning{{"subtitle",
                            "Corvane cannot be installed using the Open In method, "
                            "please install from the official repo"},
                           {"cellStyle", "subtitle"},
                           {"subtitleColor", kWarningColor}};
        sections.push_back(Dictionary{{"rows", Array{header("Warnings"), warning}}});
    }
    Array fields{header("Package Info")};
    for (const auto& [name, value] : control.fields)
        fields.push_back(detailRow(name, value));
    sections.push_back(Dictionary{{"rows", std::move(fields)}});
    sections.push_back(Dictionary{
        {"rows", Array{header("Raw Info"), detailRow(localized("Control"), control.text)}}});
    return Dictionary{
        {"title", control.value("Name").value_or(control.value("Package").value_or(""))},
        {"sections", std::move(sections)}};
}

Value ImportedPackageData::forError(const std::string& message) {
    auto row = detailRow(localized("This package cannot be read"), message);
    row.mutableDictionary()["subtitleColor"] = kWarningColor;
    return Dictionary{
        {"sections", Array{Dictionary{{"rows", Array{header("Package Info"), row}}}}}};
}

Value ImportedPackageData::header(const char* text) {
    return Dictionary{{"header", text}};
}

Value ImportedPackageData::detailRow(const std::string& title, const std::string& subtitle) {
    return Dictionary{
        {"title", title}, {"subtitle", subtitle}, {"cellStyle", "subtitle"}, {"literal", true}};
}

}  // namespace corvane
