#include "framework/apt/KSAPTManager.h"

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/ProcessValue.h"
#include "foundation/Strings.h"
#include "framework/apt/KSAPTCommandLine.h"
#include "framework/apt/KSAPTQueueEntry.h"
#include "framework/apt/KSAPTSandbox.h"
#include "framework/apt/KSRepairPlan.h"
#include "framework/apt/KSTimedOutScripts.h"
#include "framework/apt/KSUnfinishedDependencies.h"
#include "framework/apt/KSUnfinishedPackages.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/device/KSPaths.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRQueueOperation.h"
#include "framework/storage/KSRSource.h"
#include "store/StoreError.h"

namespace corvane {

namespace {

using foundation::FileManager;

// The queue last handed to APT, and the identifiers it names.
struct StoredQueue {
    std::optional<std::string> queue;
    std::vector<std::string> identifiers;
};
foundation::ProcessValue<StoredQueue> storedQueue;
foundation::ProcessValue<std::map<std::string, std::string>> displayNames;

constexpr const char* kArchitectures[] = {"iphoneos-arm", "iphoneos-arm64"};

KSAPTManager::CommandResult refusedCommand(const foundation::Error& error,
                                           const KSAPTManager::UpdateBlock& update) {
    const auto text = error.localizedDescription() + "\n";
    if (update) {
        update(text, text, false, KSRootCommandRunner::kNotStartedStatus);
        update({}, text, true, KSRootCommandRunner::kNotStartedStatus);
    }
    return {KSRootCommandRunner::kNotStartedStatus, text};
}

// Where the line cannot be built (no sandbox, a refused word), the reason stands for the output.
KSAPTManager::CommandResult runBuilt(const foundation::Result<std::string>& command,
                                     const KSAPTManager::UpdateBlock& update = {}) {
    if (!command)
        return refusedCommand(command.error(), update);
    return KSRootCommandRunner::run(*command, update);
}

KSAPTManager::CommandResult mark(const char* action, const std::string& identifier,
                                 const KSAPTManager::UpdateBlock& update) {
    if (!isValidPackageName(identifier))
        return refusedCommand(KSAPTQueueEntry::invalidPackageError(identifier), update);
    return runBuilt(KSAPTCommandLine::apt("apt-mark", {action, identifier}), update);
}

}  // namespace

std::string KSAPTManager::sandboxDirectory() {
    return KSPaths::dataPath("APT");
}

std::string KSAPTManager::configurationFile() {
    return foundation::appendingPathComponent(sandboxDirectory(), "apt.conf");
}

std::string KSAPTManager::sourceListFile() {
    return foundation::appendingPathComponent(sandboxDirectory(), "etc/sources.list");
}

std::string KSAPTManager::listsDirectory() {
    return foundation::appendingPathComponent(sandboxDirectory(), "state/lists");
}

std::string KSAPTManager::archivesDirectory() {
    return foundation::appendingPathComponent(sandboxDirectory(), "cache/archives");
}

std::string KSAPTManager::dpkgAdminDirectory() {
    return foundation::DeviceRoot::resolve("/var/lib/dpkg");
}

std::string KSAPTManager::dpkgLogFile() {
    return foundation::DeviceRoot::resolve("/var/log/dpkg.log");
}

foundation::Status KSAPTManager::createAPTSandboxIfNeeded() {
    FOUNDATION_RETURN_IF_ERROR(KSAPTSandbox::create());
    return prepareDevice();
}

foundation::Status KSAPTManager::prepareDevice() {
    const auto command =
        KSAPTCommandLine::prepareDevice({std::begin(kArchitectures), std::end(kArchitectures)});
    FOUNDATION_RETURN_IF_ERROR(command);
    const auto result = KSRootCommandRunner::run(*command);
    if (result.succeeded())
        return foundation::Success{};
    return foundation::Error::make(
        kErrorDomain, kCommandFailed,
        "The device root's dpkg database cannot be prepared: " + result.output);
}

foundation::Status KSAPTManager::writeSourceList() {
    std::vector<std::string> locations;
    try {
        for (const auto& source : KSDatabase::realm().allObjects<KSRSource>())
            locations.push_back(source.location);
    } catch (const store::StoreError& error) {
        return foundation::Error::make(kErrorDomain, kSandboxFailure,
                                       std::string("The sources cannot be read: ") + error.what());
    }
    return KSAPTSandbox::writeIfChanged(sourceListFile(), KSAPTSandbox::sourceList(locations));
}

KSAPTManager::CommandResult KSAPTManager::regenerateCaches() {
    return runBuilt(
        KSAPTCommandLine::apt("apt-cache", {"gencaches"}, KSAPTCommandLine::Access::caches));
}

foundation::Result<std::string> KSAPTManager::queueStringForKSRPackageArray(
    const std::vector<KSRPackage>& packages) {
    std::vector<std::string> words;
    for (const auto& package : packages) {
        if (!isValidPackageName(package.identifier))
            return KSAPTQueueEntry::invalidPackageError(package.identifier);
        KSAPTQueueEntry entry;
        entry.identifier = package.identifier;
        entry.removal = package.queueOperation == KSRQueueOperationRemove;
        entry.reinstall = package.queueOperation == KSRQueueOperationReinstall;
        if (!entry.removal && package.queuedVersion) {
            if (!isValidDebianVersion(*package.queuedVersion))
                return KSAPTQueueEntry::invalidVersionError(package.identifier,
                                                            *package.queuedVersion);
            entry.version = package.queuedVersion;
        }
        words.push_back(entry.queueWord());
    }
    std::string queue;
    for (const auto& word : words)
        queue += (queue.empty() ? "" : " ") + word;
    return queue;
}

void KSAPTManager::setQueue(const std::string& queue) {
    storedQueue.set({queue, KSAPTQueueEntry::identifiersOf(queue)});
}

void KSAPTManager::clearQueue() {
    storedQueue.set({});
}

std::optional<std::string> KSAPTManager::queue() {
    return storedQueue.get().queue;
}

std::vector<std::string> KSAPTManager::queueArray() {
    return storedQueue.get().identifiers;
}

APTDependsTree KSAPTManager::unmetDependenciesForPackages(
    const std::string& queueString, const std::function<void(const APTDependsTree&)>& block) {
    APTDependsTree tree;
    if (const auto entries = KSAPTQueueEntry::parse(queueString); !entries) {
        KSLog("Queue refused: %@", entries.error().localizedDescription());
        tree.incompatible = KSAPTQueueEntry::refusedIdentifiersOf(queueString);
    } else {
        const auto result = runBuilt(KSAPTCommandLine::simulation(*entries));
        tree = APTDependsTree::fromSimulationOutput(result.output, result.status);
        if (!tree.failure.empty())
            KSLog("Simulation failed (%d): %@", result.status, result.output);
        for (auto& line : KSUnfinishedDependencies::linesFor(*entries))
            tree.failure.push_back(std::move(line));
    }
    if (block)
        block(tree);
    return tree;
}

void KSAPTManager::setPackageNamesForKeysUsingTree(const APTDependsTree& tree) {
    std::map<std::string, std::string> names;
    const auto realm = KSDatabase::realm();
    for (const auto* list : {&tree.downloads, &tree.depends, &tree.removes, &tree.upgrades,
                             &tree.installs, &tree.incompatible}) {
        for (const auto& identifier : *list) {
            const auto record =
                realm.objectsWhere<KSRPackage>("identifier ==[c] %@", identifier).firstObject();
            if (record && record->name && !record->name->empty())
                names[identifier] = *record->name;
        }
    }
    displayNames.set(std::move(names));
}

std::map<std::string, std::string> KSAPTManager::packageNamesForKeys() {
    return displayNames.get();
}

KSAPTManager::CommandResult KSAPTManager::hold(const std::string& identifier,
                                               const UpdateBlock& update) {
    return mark("hold", identifier, update);
}

KSAPTManager::CommandResult KSAPTManager::unhold(const std::string& identifier,
                                                 const UpdateBlock& update) {
    return mark("unhold", identifier, update);
}

// The archives folder is the program's own, out of the packages' reach: it is emptied here, at
// once, without the runner, so that the launch never waits for a command.
void KSAPTManager::cleanUpArchivesIfNeeded() {
    const auto archives = archivesDirectory();
    for (const auto& name : FileManager::contentsOfDirectory(archives).valueOr({})) {
        const auto path = foundation::appendingPathComponent(archives, name);
        if (auto removed = FileManager::removeItem(path); !removed)
            KSLog("Archives not removed: %@", removed.error().localizedDescription());
    }
    if (auto made =
            FileManager::createDirectory(foundation::appendingPathComponent(archives, "partial"));
        !made)
        KSLog("Archives folder not recreated: %@", made.error().localizedDescription());
}

KSAPTManager::CommandResult KSAPTManager::fixPartiallyInstalledPackages(const UpdateBlock& update) {
    const auto unfinished = KSUnfinishedPackages::read();
    if (!unfinished) {
        KSLog("Repair refused: %@", unfinished.error().localizedDescription());
        return refusedCommand(unfinished.error(), update);
    }
    if (unfinished->empty())
        return {0, {}};
    KSTimedOutScripts::keepOnly(unfinished->all());
    const auto steps = KSRepairPlan::steps(*unfinished, KSTimedOutScripts::identifiers());
    for (const auto& step : steps) {
        if (!step) {
            KSLog("Repair refused: %@", step.error().localizedDescription());
            return refusedCommand(step.error(), update);
        }
    }
    const auto forward = [&update](const std::string& chunk, const std::string& output,
                                   bool finished, int status) {
        if (update && !finished)
            update(chunk, output, false, status);
    };
    CommandResult outcome{0, {}};
    for (std::size_t step = 0; step < steps.size() && !outcome.stopped; ++step) {
        const auto result = KSRootCommandRunner::run(*steps[step], forward);
        outcome.output += result.output;
        outcome.stopped = result.stopped;
        settleStoppedCommand(result);
        if (result.succeeded())
            continue;
        KSLog("Repair step %d failed (%d): %@", step + 1, result.status, result.output);
        outcome.status = result.status;
    }
    const auto left = KSUnfinishedPackages::read();
    if (left && left->empty())
        outcome.status = 0;
    else if (outcome.succeeded())
        outcome.status = 1;
    if (update)
        update({}, outcome.output, true, outcome.status);
    return outcome;
}

void KSAPTManager::settleStoppedCommand(const CommandResult& result) {
    if (!result.stopped)
        return;
    if (const auto package = KSTimedOutScripts::packageOfLastStep(result.output))
        KSTimedOutScripts::record(*package);
    if (auto prepared = prepareDevice(); !prepared)
        KSLog("dpkg's journal is not written into its status: %@",
              prepared.error().localizedDescription());
}

foundation::Result<std::string> KSAPTManager::controlFileOfArchive(const std::string& archivePath) {
    auto command = KSAPTCommandLine::dpkgDebInfo(archivePath);
    FOUNDATION_RETURN_IF_ERROR(command);
    auto result = KSRootCommandRunner::run(*command);
    if (!result.succeeded())
        return foundation::Error::make(kErrorDomain, kCommandFailed, result.output);
    return std::move(result.output);
}

foundation::Result<std::string> KSAPTManager::installCommandForQueue(
    const std::string& queueString) {
    auto entries = KSAPTQueueEntry::parse(queueString);
    FOUNDATION_RETURN_IF_ERROR(entries);
    return KSAPTCommandLine::install(*entries);
}

foundation::Result<std::string> KSAPTManager::dpkgInstallCommandForArchive(
    const std::string& archivePath) {
    return KSAPTCommandLine::dpkg({"-i", archivePath}, {archivePath});
}

}  // namespace corvane
