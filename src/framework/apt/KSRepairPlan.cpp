#include "framework/apt/KSRepairPlan.h"

#include <algorithm>

#include "framework/apt/KSAPTCommandLine.h"

namespace corvane {

std::vector<foundation::Result<std::string>> KSRepairPlan::steps(
    const KSUnfinishedPackages& unfinished, const std::set<std::string>& stopped) {
    std::vector<foundation::Result<std::string>> steps;
    const std::vector<std::string> configure = {"--configure", "--"};
    if (const auto words = namesAfter(configure, unfinished.toConfigure, stopped);
        words.size() > configure.size())
        steps.push_back(KSAPTCommandLine::dpkg(words));
    const std::vector<std::string> reinstall = {"install", "--reinstall", "--"};
    if (const auto words = namesAfter(reinstall, unfinished.toReinstall, stopped);
        words.size() > reinstall.size()) {
        steps.push_back(KSAPTCommandLine::aptGetDownload(words));
        steps.push_back(KSAPTCommandLine::aptGet(words));
    }
    const auto all = unfinished.all();
    if (std::ranges::none_of(all, [&](const auto& name) { return stopped.contains(name); })) {
        steps.push_back(KSAPTCommandLine::aptGetDownload({"install", "-f"}));
        steps.push_back(KSAPTCommandLine::aptGet({"install", "-f"}));
        steps.push_back(KSAPTCommandLine::dpkg({"--configure", "-a"}));
    }
    return steps;
}

std::vector<std::string> KSRepairPlan::namesAfter(std::vector<std::string> arguments,
                                                  const std::vector<std::string>& names,
                                                  const std::set<std::string>& stopped) {
    for (const auto& name : names)
        if (!stopped.contains(name))
            arguments.push_back(name);
    return arguments;
}

}  // namespace corvane
