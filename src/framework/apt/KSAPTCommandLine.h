#pragma once

#include <string>
#include <vector>

#include "foundation/Result.h"
#include "framework/apt/KSAPTQueueEntry.h"
#include "framework/apt/KSBubblewrap.h"

namespace corvane {

// The command lines that KSAPTManager hands to the root command runner, and the one place that
// builds them. Every word is quoted by ShellQuote; words from outside reach here only as checked
// queue entries or checked paths. APT reads the private configuration (APT_CONFIG) and dpkg is
// pointed at the device root, so the host's package database is never touched; nothing asks
// questions.
//
// Every line reads or writes the device root, where a package may have left anything, so every
// line runs inside the sandbox (KSBubblewrap): each is an error, never an unsandboxed line, where
// no sandbox can be made.
class KSAPTCommandLine {
  public:
    using Access = KSBubblewrap::Access;

    // An APT tool (apt-cache, apt-mark, apt-get) with the private configuration.
    static foundation::Result<std::string> apt(const std::string& tool,
                                               const std::vector<std::string>& arguments,
                                               Access access = Access::device);
    // apt-get answering yes and keeping changed configuration files as dpkg decides. It fetches
    // nothing, having no network: an archive that is not in the archives folder already fails
    // the command with APT's words.
    static foundation::Result<std::string> aptGet(const std::vector<std::string>& arguments);
    // "apt-get --download-only", answering yes: the archives that apt-get would install with the
    // same arguments, fetched into the archives folder. The only line with the network; it runs
    // no package's code.
    static foundation::Result<std::string> aptGetDownload(
        const std::vector<std::string>& arguments);
    // dpkg with the device root's file tree, database and log; the archives it names outside the
    // device root are readable in the sandbox.
    static foundation::Result<std::string> dpkg(const std::vector<std::string>& arguments,
                                                const std::vector<std::string>& archives = {});
    // The device root's dpkg database and the folders APT writes there, made where missing, and
    // the architectures registered with dpkg.
    static foundation::Result<std::string> prepareDevice(
        const std::vector<std::string>& architectures);

    // "apt-get -s install" of the queue, answering no.
    static foundation::Result<std::string> simulation(const std::vector<KSAPTQueueEntry>& entries);
    // "apt-get install" of the queue; "--reinstall" when an entry asks for it.
    static foundation::Result<std::string> install(const std::vector<KSAPTQueueEntry>& entries);
    // "dpkg-deb --info <archive> control"
    static foundation::Result<std::string> dpkgDebInfo(const std::string& archivePath);

    // An absolute path without control characters to a regular file; outside the device root
    // not a link either, as it is shown to the sandbox where it lies.
    static foundation::Status checkArchivePath(const std::string& archivePath);

  private:
    static std::vector<std::string> queueArguments(const std::vector<KSAPTQueueEntry>& entries);
    static std::vector<std::string> dpkgWords(const std::vector<std::string>& arguments);
    static foundation::Result<std::vector<std::string>> readableArchives(
        const std::vector<std::string>& archives);
    static foundation::Result<std::string> sandboxed(const KSBubblewrap::Sandbox& sandbox,
                                                     const std::vector<std::string>& words);
};

}  // namespace corvane
