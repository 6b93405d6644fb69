#include "framework/apt/APTDependsTree.h"

#include <algorithm>
#include <optional>

#include "foundation/Format.h"
#include "foundation/Strings.h"

namespace corvane {

namespace {

enum class Heading { None, Additional, New, Upgraded, Downgraded, Removed, Unmet };

Heading headingOf(std::string_view line) {
    using foundation::hasPrefix;
    if (hasPrefix(line, "The following additional packages will be installed"))
        return Heading::Additional;
    if (hasPrefix(line, "The following NEW packages will be installed"))
        return Heading::New;
    if (hasPrefix(line, "The following packages will be upgraded"))
        return Heading::Upgraded;
    if (hasPrefix(line, "The following packages will be DOWNGRADED"))
        return Heading::Downgraded;
    if (hasPrefix(line, "The following packages will be REMOVED"))
        return Heading::Removed;
    if (hasPrefix(line, "The following packages have unmet dependencies"))
        return Heading::Unmet;
    return Heading::None;
}

// "foo:iphoneos-arm*" -> "foo"
std::string packageName(std::string_view word) {
    while (!word.empty() && word.back() == '*')
        word.remove_suffix(1);
    if (const auto colon = word.find(':'); colon != std::string_view::npos)
        word = word.substr(0, colon);
    return std::string(word);
}

void append(std::vector<std::string>& list, const std::string& name) {
    if (!name.empty() && std::find(list.begin(), list.end(), name) == list.end())
        list.push_back(name);
}

std::vector<std::string> wordsOf(std::string_view line) {
    std::vector<std::string> words;
    for (const auto& word : foundation::split(line, " "))
        if (!word.empty())
            words.push_back(word);
    return words;
}

// The package an error of APT is about: "E: Unable to locate package foo", and the last quoted
// word of "E: Version '2.0' for 'foo' was not found" and "E: Package 'foo' has no installation
// candidate".
std::optional<std::string> packageOfError(std::string_view line) {
    using foundation::contains;
    constexpr std::string_view kUnableToLocate = "E: Unable to locate package ";
    if (foundation::hasPrefix(line, kUnableToLocate))
        return packageName(foundation::trimmed(line.substr(kUnableToLocate.size())));
    if (!foundation::hasPrefix(line, "E: ") ||
        !(contains(line, "' was not found") || contains(line, "' has no installation candidate")))
        return std::nullopt;
    const auto end = line.rfind('\'');
    const auto start = end == 0 ? std::string_view::npos : line.rfind('\'', end - 1);
    if (start == std::string_view::npos)
        return std::nullopt;
    return packageName(line.substr(start + 1, end - start - 1));
}

class SimulationReader {
  public:
    APTDependsTree tree;

    void read(std::string_view line) {
        if (auto words = foundation::trimmed(line); !words.empty())
            lastLine_ = std::move(words);
        if (const auto failing = packageOfError(line)) {
            append(tree.incompatible, *failing);
            return;
        }
        if (foundation::hasPrefix(line, "E: "))
            errors_.push_back(foundation::trimmed(line));
        if (!line.empty() && line.front() == ' ' && heading_ != Heading::None) {
            readListed(line);
            return;
        }
        heading_ = headingOf(line);
        if (foundation::hasPrefix(line, "Inst "))
            readInstall(line);
    }

    // Beside the packages APT names as unprocessable, an error line ("E: Unable to correct
    // problems") only sums them up; without such packages, the error lines are the failure.
    void finish(int status) {
        if (!tree.incompatible.empty())
            return;
        if (!errors_.empty())
            tree.failure = errors_;
        else if (status != 0)
            tree.failure = {lastLine_.empty()
                                ? foundation::format("apt-get ended with status %d.", status)
                                : lastLine_};
    }

  private:
    void readListed(std::string_view line) {
        if (heading_ == Heading::Unmet) {
            readUnmet(line);
            return;
        }
        for (const auto& word : wordsOf(line)) {
            const auto name = packageName(word);
            if (heading_ != Heading::Removed)
                append(tree.downloads, name);
            if (heading_ == Heading::Additional)
                append(tree.depends, name);
            else if (heading_ == Heading::New)
                append(tree.installs, name);
            else if (heading_ == Heading::Upgraded)
                append(tree.upgrades, name);
            else if (heading_ == Heading::Removed)
                append(tree.removes, name);
        }
    }

    // " foo : Depends: bar but it is not installable"; continuation lines start with blanks
    // and name no package of their own.
    void readUnmet(std::string_view line) {
        const auto separator = line.find(" : ");
        if (separator == std::string_view::npos)
            return;
        const auto name = foundation::trimmed(line.substr(0, separator));
        if (!name.empty() && name.find(' ') == std::string::npos)
            append(tree.incompatible, packageName(name));
    }

    // A reinstall has no heading of its own: "Inst foo [1.0] (1.0 ...)".
    void readInstall(std::string_view line) {
        const auto words = wordsOf(line);
        if (words.size() >= 2)
            append(tree.downloads, packageName(words[1]));
    }

    Heading heading_ = Heading::None;
    std::vector<std::string> errors_;
    std::string lastLine_;
};

}  // namespace

APTDependsTree APTDependsTree::fromSimulationOutput(std::string_view output, int status) {
    SimulationReader reader;
    for (const auto& line : foundation::split(output, "\n"))
        reader.read(line);
    reader.finish(status);
    return reader.tree;
}

}  // namespace corvane
