#include "app/urls/KSURLSchemeGrammar.h"

#include <algorithm>
#include <optional>

#include "app/urls/KSURLQueryParser.h"
#include "foundation/Strings.h"
#include "framework/debian/DebianGrammar.h"

namespace corvane {

namespace {

using foundation::Error;
using Parsed = foundation::Result<KSURLSchemeRequest>;

enum Code : long { NotOwnScheme = 1, UnknownHost, NoMarker, NoArgument, TooLong };

constexpr std::string_view kRepositoryPrefix = "repo=";
constexpr std::string_view kShareLinkScheme = "https://";
constexpr std::string_view kShareLinkMarker = "/api/share#?source=";
constexpr std::string_view kDeveloperPrefix = "developer=";

Error refusal(Code code, std::string description) {
    return Error::make(KSURLSchemeGrammar::kErrorDomain, code, std::move(description));
}

// The text after "scheme://host/", or nothing when the URL is not written that way (a user, a
// port or no "/" after the host).
std::optional<std::string_view> argumentAfterHost(const foundation::URL& url) {
    std::string_view text = url.absoluteString();
    const std::string marker = "://" + url.host() + "/";
    const std::size_t start = url.scheme().size();
    if (text.size() < start + marker.size() ||
        !foundation::caseInsensitiveEquals(text.substr(start, marker.size()), marker))
        return std::nullopt;
    return text.substr(start + marker.size());
}

}  // namespace

Parsed KSURLSchemeGrammar::parse(const foundation::URL& url) {
    if (url.absoluteString().size() > kMaximumLength)
        return refusal(TooLong, "the URL is too long");
    if (url.scheme() != kScheme)
        return refusal(NotOwnScheme, "it is no URL of this application");
    const std::string host = foundation::lowercase(url.host());
    if (host == "developer")
        return parseDeveloper(url);
    if (host != "add" && host != "url" && host != "show")
        return refusal(UnknownHost, "its host is none that this application handles");
    auto argument = argumentAfterHost(url);
    if (!argument)
        return refusal(NoMarker, "it does not read \"" + host + "/\" after the scheme");
    if (host == "add")
        return parseAdd(*argument);
    if (host == "url")
        return parseShareLink(*argument);
    return parseShow(*argument);
}

std::string KSURLSchemeGrammar::normalisedAddress(std::string_view address) {
    std::string normalised = foundation::URL::textHasWebScheme(address)
                                 ? std::string(address)
                                 : "https://" + std::string(address);
    if (!foundation::hasSuffix(normalised, "/"))
        normalised += "/";
    return normalised;
}

// The source share text writes "add/repo=ADDRESS"; people and pages write "add/ADDRESS".
Parsed KSURLSchemeGrammar::parseAdd(std::string_view argument) {
    if (foundation::hasPrefix(argument, kRepositoryPrefix))
        argument.remove_prefix(kRepositoryPrefix.size());
    if (argument.empty())
        return refusal(NoArgument, "it names no repository");
    KSURLSchemeRequest request;
    request.action = KSURLSchemeRequest::Action::addRepository;
    request.repository = normalisedAddress(argument);
    return request;
}

// Any share service's host is taken: the link only ever leads to the question whether to add
// the address it carries.
Parsed KSURLSchemeGrammar::parseShareLink(std::string_view argument) {
    const std::size_t marker = argument.find(kShareLinkMarker);
    if (!foundation::hasPrefix(argument, kShareLinkScheme) || marker == std::string_view::npos ||
        marker == kShareLinkScheme.size() ||
        argument.substr(0, marker).find('/', kShareLinkScheme.size()) != std::string_view::npos)
        return refusal(NoMarker, "it carries no share link");
    const std::string_view address = argument.substr(marker + kShareLinkMarker.size());
    if (address.empty())
        return refusal(NoArgument, "its share link names no repository");
    KSURLSchemeRequest request;
    request.action = KSURLSchemeRequest::Action::addRepository;
    request.repository = foundation::URL::textHasWebScheme(address)
                             ? std::string(address)
                             : "https://" + std::string(address);
    return request;
}

Parsed KSURLSchemeGrammar::parseShow(std::string_view argument) {
    KSURLSchemeRequest request;
    request.action = KSURLSchemeRequest::Action::showPackage;
    auto identifier = KSURLQueryParser::parseComponents(argument, "bundleid");
    request.packageIdentifier =
        identifier.value_or(std::string(argument.substr(0, argument.find('&'))));
    if (!isValidPackageName(request.packageIdentifier))
        return refusal(NoArgument, "it names no valid package");
    request.packageName = KSURLQueryParser::parseComponents(argument, "name");
    if (request.packageName && request.packageName->empty())
        request.packageName.reset();
    auto repository = KSURLQueryParser::parseComponents(argument, "repo");
    if (repository && !repository->empty())
        request.repository = normalisedAddress(*repository);
    return request;
}

Parsed KSURLSchemeGrammar::parseDeveloper(const foundation::URL& url) {
    const auto components = url.pathComponents();
    std::string name = components.size() > 1 ? components[1] : "";
    if (auto prefix = name.find(kDeveloperPrefix); prefix != std::string::npos)
        name.erase(0, prefix + kDeveloperPrefix.size());
    std::ranges::replace(name, '+', ' ');
    if (foundation::trimmed(name).empty())
        return refusal(NoArgument, "it names no developer");
    KSURLSchemeRequest request;
    request.action = KSURLSchemeRequest::Action::showDeveloper;
    request.developerName = std::move(name);
    return request;
}

}  // namespace corvane
