#pragma once

#include <string>
#include <vector>

#include "foundation/Result.h"

namespace corvane {

// The sandbox of every command that may run a package's maintainer scripts (bubblewrap): of the
// host only its programs, libraries and configuration, read-only; a private empty /tmp and /run;
// the device root writable; no network but the sandbox's own loopback; and the sandbox's own
// /dev, /proc, process numbers and System V IPC, so that a script sees neither the host's
// processes nor, through /proc, their file systems. No socket of the host, in its folders or
// abstract, and none of its message queues or shared memory can be reached, so no service of
// the host can be asked to act for a script. Started by root,
// bubblewrap would leave the scripts every capability, enough to mount the host writable again;
// only those dpkg needs to give files their owners and modes, and APT to try its own user, are
// kept.
//
// The program is "bwrap" from PATH, or the path in the environment variable CORVANE_BWRAP.
// Before each command an empty sandbox is tried through the root command runner, with the
// command's own rights; where none can be made the command is refused with the reason and
// never run without one.
class KSBubblewrap {
  public:
    static constexpr const char* kProgramVariable = "CORVANE_BWRAP";

    // The words that run the words after them inside the sandbox of the current device root,
    // ending with "--"; an error (KSAPTManager::kSandboxUnavailable) naming why no sandbox can be
    // made.
    static foundation::Result<std::vector<std::string>> prefix();
    // What a command line runs inside the sandbox, as a person would type it on the device: the
    // words after the sandbox's own (and the environment before them); a line that runs outside
    // the sandbox as it is.
    static std::string commandInside(const std::string& commandLine);

  private:
    static foundation::Result<std::string> program();
    static foundation::Result<std::vector<std::string>> options();
    static void appendHostFolder(const std::string& folder, std::vector<std::string>& words);
    static foundation::Status tryOut(const std::vector<std::string>& prefix);
};

}  // namespace corvane
