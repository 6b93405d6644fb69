#include "app/completion/KSTaskErrorText.h"

#include <algorithm>
#include <cctype>

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/tasks/KSPipelineManager.h"

namespace corvane {

namespace {

// "Corvane Error #%ld. ..." through the default table; the key names the contact address.
std::string fallbackFormat() {
    return foundation::localized(
        std::string("Corvane Error #%ld. Please report the error code to Kestrune at ") +
        KSTaskErrorText::kSupportContact + " so we can provide a better description for it.");
}

std::optional<std::string> subjectOf(const foundation::Error& error) {
    for (const char* key : {"package", "packageID"}) {
        const auto& value = error.userInfo[key];
        if (foundation::isPresentText(value))
            return value.stringValue();
    }
    return std::nullopt;
}

// Reads the conversion after a '%' at text[at], leaving at after it: the position it names
// ("%2$@" gives 2, a plain "%@" 0), or nullopt for anything but an object conversion.
std::optional<std::size_t> readObjectConversion(std::string_view text, std::size_t& at) {
    std::size_t digitsEnd = at;
    while (digitsEnd < text.size() && std::isdigit(static_cast<unsigned char>(text[digitsEnd])))
        ++digitsEnd;
    std::size_t position = 0;
    if (digitsEnd > at && digitsEnd < text.size() && text[digitsEnd] == '$') {
        if (digitsEnd - at > 3)
            return std::nullopt;
        position = std::stoul(std::string(text.substr(at, digitsEnd - at)));
        if (position == 0)
            return std::nullopt;
        at = digitsEnd + 1;
    }
    if (at >= text.size() || text[at] != '@')
        return std::nullopt;
    ++at;
    return position;
}

}  // namespace

foundation::Error KSTaskErrorText::errorOfFailure(const foundation::Value& errorValue) {
    if (auto error = KSPipelineManager::errorFromValue(errorValue))
        return *error;
    return foundation::Error{kDomain, kUnexplainedFailure, {}};
}

foundation::Error KSTaskErrorText::describedError(const foundation::Error& error) {
    if (error.domain != kDomain ||
        foundation::isPresentText(error.userInfo[foundation::Error::kLocalizedDescriptionKey]))
        return error;
    std::vector<foundation::Value> arguments;
    if (auto subject = subjectOf(error))
        arguments.emplace_back(*subject);
    auto rebuilt = error;
    rebuilt.userInfo.mutableDictionary()[foundation::Error::kLocalizedDescriptionKey] =
        textForCode(error.code, arguments);
    return rebuilt;
}

std::string KSTaskErrorText::textForCode(long code,
                                         const std::vector<foundation::Value>& arguments) {
    auto fallback = fallbackText(code);
    auto text = foundation::localizedError(code, fallback);
    auto needed = objectArgumentCount(text);
    if (!needed || *needed > arguments.size())
        return fallback;
    return foundation::format(text, arguments);
}

std::string KSTaskErrorText::fallbackText(long code) {
    return foundation::format(fallbackFormat(), code);
}

std::optional<std::size_t> KSTaskErrorText::objectArgumentCount(std::string_view format) {
    std::size_t sequential = 0, highest = 0;
    for (std::size_t at = 0; at < format.size();) {
        if (format[at++] != '%')
            continue;
        if (at < format.size() && format[at] == '%') {
            ++at;
            continue;
        }
        auto position = readObjectConversion(format, at);
        if (!position)
            return std::nullopt;
        highest = std::max(highest, *position ? *position : ++sequential);
    }
    return highest;
}

}  // namespace corvane
