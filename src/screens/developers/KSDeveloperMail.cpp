#include "screens/developers/KSDeveloperMail.h"

#include <algorithm>

#include "foundation/Format.h"
#include "foundation/Strings.h"
#include "framework/webservice/KSWebServiceForm.h"

namespace corvane {

namespace {

constexpr std::size_t kMaximumLocalPart = 64;
constexpr std::size_t kMaximumDomain = 253;
constexpr std::size_t kMaximumLabel = 63;

bool isLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isPlainLocalPart(std::string_view local) {
    if (local.empty() || local.size() > kMaximumLocalPart || local.front() == '.' ||
        local.back() == '.' || local.find("..") != std::string_view::npos)
        return false;
    return std::ranges::all_of(local, [](char c) {
        return isLetterOrDigit(c) || c == '.' || c == '_' || c == '+' || c == '-';
    });
}

bool isPlainLabel(std::string_view label) {
    return !label.empty() && label.size() <= kMaximumLabel && label.front() != '-' &&
           label.back() != '-' &&
           std::ranges::all_of(label, [](char c) { return isLetterOrDigit(c) || c == '-'; });
}

bool isPlainDomain(std::string_view domain) {
    if (domain.size() > kMaximumDomain)
        return false;
    const auto labels = foundation::split(domain, ".");
    return labels.size() >= 2 && std::ranges::all_of(labels, isPlainLabel);
}

// What a form would carry for the value, without the name.
std::string escaped(const std::string& text) {
    return KSWebServiceForm::encode({{"", text}}).substr(1);
}

}  // namespace

bool KSDeveloperMail::isPlainAddress(std::string_view address) {
    const auto at = address.find('@');
    return at != std::string_view::npos && isPlainLocalPart(address.substr(0, at)) &&
           isPlainDomain(address.substr(at + 1));
}

std::string KSDeveloperMail::subjectForPackage(const std::string& packageName) {
    return foundation::format("Corvane 5: Question regarding %@", packageName);
}

std::optional<foundation::URL> KSDeveloperMail::link(std::string_view address,
                                                     const std::string& packageName) {
    if (!isPlainAddress(address))
        return std::nullopt;
    const auto at = address.find('@');
    return foundation::URL::withString("mailto:" + escaped(std::string(address.substr(0, at))) +
                                       "@" + escaped(std::string(address.substr(at + 1))) +
                                       "?subject=" + escaped(subjectForPackage(packageName)));
}

}  // namespace corvane
