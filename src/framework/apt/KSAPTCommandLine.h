#pragma once

#include <string>
#include <vector>

#include "foundation/Result.h"
#include "framework/apt/KSAPTQueueEntry.h"

namespace corvane {

// The command lines that KSAPTManager hands to the root command runner. Every word is quoted
// by ShellQuote; words from outside reach here only as checked queue entries or checked paths.
// APT reads the private configuration (APT_CONFIG) and dpkg is pointed at the device root, so
// the host's package database is never touched; nothing asks questions.
//
// Whatever may run a package's maintainer scripts (every dpkg and apt-get line that installs,
// removes or configures) is built inside the sandbox (KSBubblewrap) here and nowhere else, and is
// an error, never an unsandboxed line, where no sandbox can be made.
class KSAPTCommandLine {
  public:
    // "APT_CONFIG=<configuration> DEBIAN_FRONTEND=noninteractive <tool> <arguments>", for the
    // tools that run no package's code: apt-cache, apt-mark, "apt-get update" and simulations.
    static std::string apt(const std::string& tool, const std::vector<std::string>& arguments);
    // apt-get in the sandbox, answering yes and keeping changed configuration files as dpkg
    // decides. It fetches nothing, having no network: an archive that is not in the archives
    // folder already fails the command with APT's words.
    static foundation::Result<std::string> aptGet(const std::vector<std::string>& arguments);
    // "apt-get --download-only", answering yes: the archives that apt-get would install with the
    // same arguments, fetched into the archives folder. It runs no package's code and so needs
    // no sandbox.
    static std::string aptGetDownload(const std::vector<std::string>& arguments);
    // dpkg in the sandbox, with the device root's file tree, database and log.
    static foundation::Result<std::string> dpkg(const std::vector<std::string>& arguments);
    // "dpkg --add-architecture <architecture>" on the device root's database, which runs no
    // package's code and so needs no sandbox.
    static std::string addArchitecture(const std::string& architecture);

    // "apt-get -s install" of the queue, answering no.
    static std::string simulation(const std::vector<KSAPTQueueEntry>& entries);
    // "apt-get install" of the queue; "--reinstall" when an entry asks for it.
    static foundation::Result<std::string> install(const std::vector<KSAPTQueueEntry>& entries);
    // "dpkg-deb --info <archive> control"
    static foundation::Result<std::string> dpkgDebInfo(const std::string& archivePath);

    // An absolute path without control characters to a regular file.
    static foundation::Status checkArchivePath(const std::string& archivePath);
    // A checked archive path that lies inside the device root, where the sandbox can read it,
    // made canonical so that no link leads dpkg elsewhere.
    static foundation::Result<std::string> installableArchivePath(const std::string& archivePath);

  private:
    static std::vector<std::string> queueArguments(const std::vector<KSAPTQueueEntry>& entries);
    static std::vector<std::string> dpkgWords(const std::vector<std::string>& arguments);
    static foundation::Result<std::string> sandboxed(const std::string& environment,
                                                     const std::vector<std::string>& words);
};

}  // namespace corvane
