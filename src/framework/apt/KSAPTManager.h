#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Result.h"
#include "foundation/Value.h"
#include "framework/apt/APTDependsTree.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/storage/KSRPackage.h"

namespace corvane {

// APT and dpkg for the rest of the system. The real Debian tools run through the root command
// runner, inside the sandbox, with a private configuration: their own source list, lists,
// archives and caches under the data directory, which no package can write, over the device
// root's own dpkg database, logs and file tree. Every command line is built by KSAPTCommandLine
// from checked words, each quoted by ShellQuote.
//
// Layout, "<data directory>/APT/":
//   apt.conf                 the configuration (APT_CONFIG of every APT command)
//   etc/sources.list         one "deb [trusted=yes] <location> ./" line per stored source
//   etc/{apt.conf.d,sources.list.d,preferences.d,trusted.gpg.d}/
//   state/lists/             the indexes, under APT's own file names
//   cache/archives/          downloaded archives
// and in the device root, beside dpkg's database: APT's record of automatically installed
// packages (/var/lib/apt/extended_states) and its logs (/var/log/apt/).
class KSAPTManager {
  public:
    using UpdateBlock = KSRootCommandRunner::UpdateBlock;
    using CommandResult = KSRootCommandRunner::CommandResult;

    static constexpr const char* kErrorDomain = "KSAPTManager";
    enum ErrorCode : long {
        kInvalidPackageName = 1,  // user info "package": the refused identifier
        kInvalidVersion = 2,      // user info "package": the identifier, "version": the version
        kInvalidArchivePath = 3,  // user info "path"
        kSandboxFailure = 4,      // a folder or file of the sandbox could not be written
        kCommandFailed = 5,       // user info "output": what the command printed
        kSandboxUnavailable = 6,  // a command on the device root was refused, as no sandbox
                                  // can be made for it
    };

    // Paths (host paths in the current device root).
    static std::string sandboxDirectory();
    static std::string configurationFile();
    static std::string sourceListFile();
    static std::string listsDirectory();
    static std::string archivesDirectory();
    // The device root's dpkg database folder ("/var/lib/dpkg").
    static std::string dpkgAdminDirectory();
    // The device root's dpkg log ("/var/log/dpkg.log"): every dpkg run, direct or through APT,
    // writes there instead of the host's log.
    static std::string dpkgLogFile();

    // Creates every folder of the sandbox where missing and rewrites the configuration
    // (KSAPTSandbox), then prepares the device. It reads no stored data, so it may run before the
    // database is migrated.
    static foundation::Status createAPTSandboxIfNeeded();
    // Inside the sandbox: makes the device root's dpkg database where missing, writes what a run
    // cut short left in dpkg's journal into its status, and registers the repositories'
    // architectures with dpkg; refuses, by name, what a package left there that
    // dpkg never makes (kCommandFailed), and kSandboxUnavailable where no sandbox can be made.
    static foundation::Status prepareDevice();
    // The source list from the stored sources; sources whose location could break the line
    // are left out with a log line. The list on disk stays as the last refresh left it until
    // then, so APT always sees the sources whose indexes it holds.
    static foundation::Status writeSourceList();
    // "apt-cache gencaches": APT's binary caches rebuilt from the lists, in the sandbox.
    static CommandResult regenerateCaches();

    // The queue string of queued records: "identifier", "identifier=version", "identifier-" for
    // a removal, "identifier=version+" for a reinstall (KSRQueueOperationReinstall). A record
    // whose identifier or version breaks Debian's grammar is an error naming it; nothing is built
    // then.
    static foundation::Result<std::string> queueStringForKSRPackageArray(
        const std::vector<KSRPackage>& packages);
    static void setQueue(const std::string& queue);
    // Forgets the queue: queue() is unset again and nothing runs it.
    static void clearQueue();
    // Unset until the first setQueue.
    static std::optional<std::string> queue();
    static std::vector<std::string> queueArray();

    // Simulates the queue with apt-get (nothing downloaded, every question answered no),
    // synchronously, and calls the block (may be empty) with the tree before returning it. A
    // queue string with refused words runs nothing: those words come back as incompatible. A
    // simulation that fails otherwise comes back with APT's words as the tree's failure.
    static APTDependsTree unmetDependenciesForPackages(
        const std::string& queueString,
        const std::function<void(const APTDependsTree&)>& block = {});

    // Display names of the tree's packages, for rewriting the APT task's output.
    static void setPackageNamesForKeysUsingTree(const APTDependsTree& tree);
    static std::map<std::string, std::string> packageNamesForKeys();

    // apt-mark hold / unhold, synchronously; the update block sees the output as it comes.
    static CommandResult hold(const std::string& identifier, const UpdateBlock& update = {});
    static CommandResult unhold(const std::string& identifier, const UpdateBlock& update = {});

    // Removes the downloaded archives and recreates the archive folders, without a command.
    static void cleanUpArchivesIfNeeded();
    // Brings what dpkg left unfinished (KSUnfinishedPackages) back to a state APT can work with,
    // synchronously, without questions, in the sandbox: configures what was unpacked, reinstalls
    // from its archive (fetched first, by the one command given the network) what was cut short
    // while unpacking, then "apt-get install -f" and "dpkg --configure -a" for what the packages
    // still need. A package whose script was stopped before (KSTimedOutScripts) is left alone,
    // and so are the last two steps then. Nothing runs when nothing is unfinished. The output of
    // every step; status 0 when nothing is left unfinished, else that of the last failed step
    // (1 when none failed); stopped when a step was. Where no sandbox can be made nothing runs:
    // the reason is logged and is the output, with kNotStartedStatus.
    // The update block (may be empty) sees the output of every step as it comes, and is called
    // once more at the end.
    static CommandResult fixPartiallyInstalledPackages(const UpdateBlock& update = {});
    // After a command stopped for making no progress: the package of its last step is
    // remembered (KSTimedOutScripts), and what dpkg left in its journal is written into its
    // status, so that the status tells how the command left the package. Nothing otherwise.
    static void settleStoppedCommand(const CommandResult& result);

    // The control stanza of a local archive ("dpkg-deb -f"), for the imported-archive screen.
    static foundation::Result<std::string> controlFileOfArchive(const std::string& archivePath);

    // The command lines of the package tasks, built from checked words, in the sandbox; an
    // archive outside the device root is shown to the sandbox read-only. An error where a word
    // is refused or no sandbox can be made.
    static foundation::Result<std::string> installCommandForQueue(const std::string& queueString);
    static foundation::Result<std::string> dpkgInstallCommandForArchive(
        const std::string& archivePath);
};

}  // namespace corvane
