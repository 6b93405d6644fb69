#include "framework/apt/KSTimedOutScripts.h"

#include <mutex>
#include <regex>

#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/device/KSPaths.h"

namespace corvane {

namespace {

std::mutex fileMutex;

std::set<std::string> readIdentifiers() {
    std::set<std::string> identifiers;
    const auto text =
        foundation::FileManager::readText(KSPaths::dataPath(KSTimedOutScripts::kFileName));
    for (auto& line : foundation::split(text.valueOr(""), "\n"))
        if (!line.empty())
            identifiers.insert(std::move(line));
    return identifiers;
}

}  // namespace

std::optional<std::string> KSTimedOutScripts::packageOfLastStep(const std::string& output) {
    static const std::regex step(
        R"(^(?:Setting up|Unpacking|Removing|Purging configuration files for|Processing triggers for) ([^ :]+)(?::[^ ]+)? \(|^Preparing to unpack .*/([^/_]+)_[^/]*\.deb \.\.\.)");
    std::optional<std::string> last;
    for (const auto& line : foundation::split(output, "\n")) {
        std::smatch match;
        if (!std::regex_search(line, match, step))
            continue;
        const auto name = match[1].matched ? match[1].str() : match[2].str();
        if (isValidPackageName(name))
            last = name;
    }
    return last;
}

void KSTimedOutScripts::record(const std::string& identifier) {
    std::lock_guard lock(fileMutex);
    auto identifiers = readIdentifiers();
    if (identifiers.insert(identifier).second)
        write(identifiers);
}

std::set<std::string> KSTimedOutScripts::identifiers() {
    std::lock_guard lock(fileMutex);
    return readIdentifiers();
}

void KSTimedOutScripts::keepOnly(const std::vector<std::string>& unfinished) {
    std::lock_guard lock(fileMutex);
    const auto identifiers = readIdentifiers();
    std::set<std::string> kept;
    for (const auto& identifier : unfinished)
        if (identifiers.contains(identifier))
            kept.insert(identifier);
    if (kept != identifiers)
        write(kept);
}

void KSTimedOutScripts::write(const std::set<std::string>& identifiers) {
    std::string text;
    for (const auto& identifier : identifiers)
        text += identifier + "\n";
    auto written = foundation::FileManager::createDirectory(KSPaths::dataDirectory());
    if (written)
        written = foundation::FileManager::writeAtomically(KSPaths::dataPath(kFileName), text);
    if (!written)
        KSLog("The packages whose scripts were stopped are not kept: %@",
              written.error().localizedDescription());
}

}  // namespace corvane
