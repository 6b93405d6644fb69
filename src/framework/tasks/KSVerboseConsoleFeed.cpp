#include "framework/tasks/KSVerboseConsoleFeed.h"

#include <cctype>

#include "foundation/Dispatch.h"
#include "foundation/NotificationCenter.h"
#include "foundation/Strings.h"

namespace corvane {

namespace {

bool isNameCharacter(char character) {
    return std::isalnum(static_cast<unsigned char>(character)) || character == '.' ||
           character == '+' || character == '-' || character == '_';
}

// Where a whole identifier starts at position, the length it covers with its ":architecture".
std::size_t matchedLength(std::string_view line, std::size_t position,
                          const std::string& identifier) {
    if (line.compare(position, identifier.size(), identifier) != 0)
        return 0;
    if (position > 0 && (isNameCharacter(line[position - 1]) || line[position - 1] == '/'))
        return 0;
    auto end = position + identifier.size();
    if (end < line.size() && isNameCharacter(line[end]))
        return 0;
    for (const std::string_view qualifier : {":iphoneos-arm64", ":iphoneos-arm", ":all"}) {
        const auto after = end + qualifier.size();
        if (line.compare(end, qualifier.size(), qualifier) == 0 &&
            (after == line.size() || !std::isalnum(static_cast<unsigned char>(line[after]))))
            return identifier.size() + qualifier.size();
    }
    return identifier.size();
}

void post(foundation::Dictionary userInfo) {
    foundation::runOnMain([userInfo = std::move(userInfo)] {
        foundation::NotificationCenter::defaultCenter().post(KSVerboseConsoleFeed::kNotification,
                                                             {}, userInfo);
    });
}

foundation::Dictionary userInfoFor(std::string text) {
    return {{KSVerboseConsoleFeed::kMessageKey, std::move(text)},
            {KSVerboseConsoleFeed::kErrorKey, false},
            {KSVerboseConsoleFeed::kIsForCommandKey, false},
            {KSVerboseConsoleFeed::kIsForStreamKey, false},
            {KSVerboseConsoleFeed::kIsStreamErrorKey, false},
            {KSVerboseConsoleFeed::kIsStreamWarningKey, false}};
}

}  // namespace

KSVerboseConsoleFeed::KSVerboseConsoleFeed(std::map<std::string, std::string> displayNames)
    : displayNames_(std::move(displayNames)) {}

void KSVerboseConsoleFeed::postCommand(const std::string& commandLine) {
    auto userInfo = userInfoFor(commandLine);
    userInfo[kIsForCommandKey] = true;
    post(std::move(userInfo));
}

void KSVerboseConsoleFeed::append(std::string_view chunk) {
    partialLine_ += chunk;
    std::size_t start = 0;
    for (auto end = partialLine_.find('\n'); end != std::string::npos;
         end = partialLine_.find('\n', start)) {
        postLine(std::string_view(partialLine_).substr(start, end - start));
        start = end + 1;
    }
    partialLine_.erase(0, start);
}

void KSVerboseConsoleFeed::flush() {
    if (!partialLine_.empty())
        postLine(partialLine_);
    partialLine_.clear();
}

void KSVerboseConsoleFeed::postMessage(const std::string& text, bool isError) {
    auto userInfo = userInfoFor(text);
    userInfo[kErrorKey] = isError;
    post(std::move(userInfo));
}

void KSVerboseConsoleFeed::postLine(std::string_view line) {
    // dpkg runs on a terminal of APT's: its lines end with "\r\n", and its progress rewrites
    // a line after "\r". The console shows what the terminal would.
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (const auto carriageReturn = line.rfind('\r'); carriageReturn != std::string_view::npos)
        line.remove_prefix(carriageReturn + 1);
    auto userInfo = userInfoFor(rewrite(line));
    userInfo[kIsForStreamKey] = true;
    userInfo[kIsStreamErrorKey] =
        foundation::hasPrefix(line, "E: ") || foundation::hasPrefix(line, "dpkg: error");
    userInfo[kIsStreamWarningKey] =
        foundation::hasPrefix(line, "W: ") || foundation::hasPrefix(line, "dpkg: warning");
    post(std::move(userInfo));
}

std::string KSVerboseConsoleFeed::rewrite(std::string_view line) const {
    std::string rewritten;
    for (std::size_t position = 0; position < line.size();) {
        bool replaced = false;
        for (const auto& [identifier, name] : displayNames_) {
            if (const auto length = matchedLength(line, position, identifier)) {
                rewritten += name;
                position += length;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            rewritten += line[position++];
    }
    return rewritten;
}

}  // namespace corvane
