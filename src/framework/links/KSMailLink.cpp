#include "framework/links/KSMailLink.h"

#include <algorithm>

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Strings.h"

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

}  // namespace

bool KSMailLink::isPlainAddress(std::string_view address) {
    const auto at = address.find('@');
    return at != std::string_view::npos && isPlainLocalPart(address.substr(0, at)) &&
           isPlainDomain(address.substr(at + 1));
}

std::string KSMailLink::questionSubject(const std::string& packageName) {
    return foundation::format(foundation::localized("Corvane 5: Question regarding %@"),
                              packageName);
}

std::optional<foundation::URL> KSMailLink::make(std::string_view address,
                                                std::string_view subject) {
    // "+" is the only character of a plain address that a mail link must escape.
    const std::string recipient =
        isPlainAddress(address) ? foundation::replace(address, "+", "%2B") : std::string();
    const std::string query =
        "subject=" + foundation::percentEncode(subject, foundation::PercentEncoding::Unreserved);
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
