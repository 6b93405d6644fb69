#include "framework/tasks/KSPackageRepairTask.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSStatusFileSync.h"
#include "framework/apt/KSTimedOutScripts.h"
#include "framework/storage/KSDatabase.h"
#include "framework/tasks/KSPackageTaskReport.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSVerboseConsoleFeed.h"

namespace corvane {

namespace {

constexpr const char* kOneLeft =
    "An interrupted operation left %@ unfinished, and the repair could not mend it: reinstall or "
    "remove it from its page.";
constexpr const char* kSomeLeft =
    "An interrupted operation left %@ unfinished, and the repair could not mend them: reinstall "
    "or remove each from its page.";
constexpr const char* kStopped = " (its script made no progress within the time limit)";

// "Core Library (com.sample.corelib)", each named as its page names it.
std::string namesOf(const KSUnfinishedPackages& left) {
    const auto stopped = KSTimedOutScripts::identifiers();
    std::string names;
    for (const auto& identifier : left.all()) {
        const auto record = KSDatabase::realm()
                                .objectsWhere<KSRPackage>("identifier ==[c] %@", identifier)
                                .firstObject();
        names += names.empty() ? "" : ", ";
        if (record && record->name && !record->name->empty())
            names += *record->name + " (" + identifier + ")";
        else
            names += identifier;
        if (stopped.contains(identifier))
            names += foundation::localized(kStopped);
    }
    return names;
}

}  // namespace

KSPackageRepairTask::KSPackageRepairTask() {
    setTaskStatus(foundation::localized("Waiting..."));
    setTaskProgress(kIndeterminateProgress);
}

std::string KSPackageRepairTask::pipelineID() const {
    return KSPipelinePackageOperation;
}

std::string KSPackageRepairTask::taskDescription() const {
    return foundation::localized("Repairing Packages");
}

void KSPackageRepairTask::main() {
    setTaskStatus(foundation::localized("Running..."));
    KSVerboseConsoleFeed console;
    const auto result = KSAPTManager::fixPartiallyInstalledPackages(
        [&console](const std::string& chunk, const std::string&, bool, int) {
            console.append(chunk);
        });
    console.flush();
    KSStatusFileSync::synchronise();
    const auto left = KSUnfinishedPackages::read();
    setTaskProgress(1);
    if (left && left->empty()) {
        setTaskStatus(foundation::localized("Done"));
        setOutcome(true);
        return;
    }
    setTaskStatus(foundation::localized("Failed"));
    setOutcome(false, left ? unmended(*left, result.output) : left.error());
}

foundation::Error KSPackageRepairTask::unmended(const KSUnfinishedPackages& left,
                                                const std::string& output) {
    const auto summaryFormat = left.all().size() == 1 ? kOneLeft : kSomeLeft;
    return KSPackageTaskReport::failure(
        foundation::format(foundation::localized(summaryFormat), namesOf(left)), output);
}

}  // namespace corvane
