#include "framework/tasks/KSPackageTaskReport.h"

#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/packagemanager/KSQueueStateNotification.h"

namespace corvane {

namespace {

constexpr std::size_t kQuotedLines = 5;

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

foundation::Error KSPackageTaskReport::commandFailure(const std::string& output, int status) {
    auto error = foundation::Error::make(KSAPTManager::kErrorDomain, KSAPTManager::kCommandFailed,
                                         "The package operation failed (status " +
                                             std::to_string(status) + ")." + failureLines(output));
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
