#include "framework/misc/KSMailLink.h"

#include <algorithm>

#include "foundation/Strings.h"
#include "framework/webservice/KSWebServiceForm.h"

namespace corvane {

namespace {

bool isAddressCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '+' || c == '-';
}

bool isDomainLabel(std::string_view label) {
    return !label.empty() && label.front() != '-' && label.back() != '-' &&
           std::all_of(label.begin(), label.end(),
                       [](char c) { return isAddressCharacter(c) && c != '_' && c != '+'; });
}

}  // namespace

bool KSMailLink::isPlainAddress(std::string_view address) {
    const auto at = address.find('@');
    if (at == std::string_view::npos || at == 0 ||
        address.find('@', at + 1) != std::string_view::npos)
        return false;
    const std::string_view local = address.substr(0, at);
    if (!std::all_of(local.begin(), local.end(), isAddressCharacter))
        return false;
    const auto labels = foundation::split(address.substr(at + 1), ".");
    return labels.size() >= 2 && std::all_of(labels.begin(), labels.end(), [](const auto& label) {
               return isDomainLabel(label);
           });
}

std::optional<foundation::URL> KSMailLink::make(std::string_view address,
                                                std::string_view subject) {
    // "+" is the only character of a plain address that a mail link must escape.
    const std::string recipient =
        isPlainAddress(address) ? foundation::replace(address, "+", "%2B") : std::string();
    const std::string query = KSWebServiceForm::encode({{"subject", std::string(subject)}});
    return foundation::URL::withString("mailto:" + recipient + "?" + query);
}

std::optional<foundation::URL> KSMailLink::recipientOnly(const foundation::URL& link) {
    if (link.scheme() != "mailto")
        return std::nullopt;
    std::string text = link.absoluteString().substr(std::string_view("mailto:").size());
    text = text.substr(0, text.find('?'));
    auto recipient = foundation::percentDecode(text);
    if (!recipient || !isPlainAddress(*recipient))
        return std::nullopt;
    return foundation::URL::withString("mailto:" + foundation::replace(*recipient, "+", "%2B"));
}

}  // namespace corvane
