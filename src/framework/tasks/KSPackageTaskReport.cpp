#include "framework/tasks/KSPackageTaskReport.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSTimedOutScripts.h"
#include "framework/packagemanager/KSQueueStateNotification.h"

namespace corvane {

namespace {

constexpr std::size_t kQuotedLines = 5;
constexpr const char* kStoppedSummary =
    "The package operation was stopped: the script of %@ made no progress within the time limit. "
    "The package is left as dpkg left it; reinstall or remove it from its page.";

std::string failureLines(const std::string& output) {
    std::vector<std::string> marked;
    std::vector<std::string> lines;
    for (auto& line : foundation::split(output, "\n")) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (foundation::hasPrefix(line, "E: ") || foundation::hasPrefix(line, "dpkg: error"))
            marked.push_back(line);
        lines.push_back(std::move(line));
    }
    const auto& chosen = marked.empty() ? lines : marked;
    const auto first = chosen.size() > kQuotedLines ? chosen.end() - kQuotedLines : chosen.begin();
    std::string text;
    for (auto line = first; line != chosen.end(); ++line)
        text += "\n" + *line;
    return text;
}

}  // namespace

foundation::Error KSPackageTaskReport::commandFailure(const std::string& output, int status,
                                                      bool stopped) {
    const auto package = stopped ? KSTimedOutScripts::packageOfLastStep(output) : std::nullopt;
    auto error =
        failure(package ? foundation::format(foundation::localized(kStoppedSummary), *package)
                        : "The package operation failed (status " + std::to_string(status) + ").",
                output);
    if (package)
        error.userInfo.mutableDictionary()["package"] = *package;
    return error;
}

foundation::Error KSPackageTaskReport::failure(const std::string& summary,
                                               const std::string& output) {
    auto error = foundation::Error::make(KSAPTManager::kErrorDomain, KSAPTManager::kCommandFailed,
                                         summary + failureLines(output));
    error.userInfo.mutableDictionary()["output"] = output;
    return error;
}

void KSPackageTaskReport::postFinished(const std::vector<std::string>& identifiers,
                                       bool succeeded) {
    const char* message = succeeded ? KSQueueStateNotification::kFinishedOperation
                                    : KSQueueStateNotification::kFinishedWithError;
    for (const auto& identifier : identifiers)
        KSQueueStateNotification::post(identifier, message);
}

}  // namespace corvane
