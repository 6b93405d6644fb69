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
class KSAPTCommandLine {
  public:
    // "APT_CONFIG=<configuration> DEBIAN_FRONTEND=noninteractive <tool> <arguments>"
    static std::string apt(const std::string& tool, const std::vector<std::string>& arguments);
    // apt-get that answers yes and keeps changed configuration files as dpkg decides.
    static std::string aptGet(const std::vector<std::string>& arguments);
    // dpkg with the device root's file tree, database and log.
    static std::string dpkg(const std::vector<std::string>& arguments);

    // "apt-get -s install" of the queue, answering no.
    static std::string simulation(const std::vector<KSAPTQueueEntry>& entries);
    // "apt-get install" of the queue; "--reinstall" when an entry asks for it.
    static std::string install(const std::vector<KSAPTQueueEntry>& entries);
    // "dpkg-deb --info <archive> control"
    static foundation::Result<std::string> dpkgDebInfo(const std::string& archivePath);

    // An absolute path without control characters to a regular file.
    static foundation::Status checkArchivePath(const std::string& archivePath);

  private:
    static std::vector<std::string> queueArguments(const std::vector<KSAPTQueueEntry>& entries);
};

}  // namespace corvane
