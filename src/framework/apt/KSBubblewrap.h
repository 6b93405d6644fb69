#pragma once

#include <string>
#include <vector>

#include "foundation/Result.h"

namespace corvane {

// The sandbox of every command that reads or writes the device root (bubblewrap): a package may
// have left anything there (links into the host, FIFOs, planted configuration), and its scripts
// run inside it. Of the host only its programs, libraries and configuration are there,
// read-only; a private empty /tmp and /run; the device root writable; no network but the
// sandbox's own loopback, except for the one command that downloads archives; and the sandbox's
// own /dev, /proc, process numbers and System V IPC, so that a script sees neither the host's
// processes nor, through /proc, their file systems. No socket of the host, in its folders or
// abstract, and none of its message queues or shared memory can be reached. Started by root,
// bubblewrap would leave the scripts every capability, enough to mount the host writable again;
// only those dpkg needs to give files their owners and modes are kept.
//
// Of the program's data folder only APT's folder is there, read-only but for what the command
// fills (Access); the database, preferences, keychain and log are not.
//
// The program is "bwrap" from PATH, or the path in the environment variable CORVANE_BWRAP.
// Before a kind of command first runs, an empty sandbox is tried through the root command runner,
// with the command's own rights; where none can be made the command is refused with the reason
// and never run without one.
class KSBubblewrap {
  public:
    static constexpr const char* kProgramVariable = "CORVANE_BWRAP";

    // What a command may write of the data folder, beside the device root.
    enum class Access {
        device,    // nothing
        caches,    // APT's caches
        download,  // the downloaded archives, with the host's network
    };

    struct Sandbox {
        Access access = Access::device;
        // Files outside the device root the command reads (an archive in the inbox), there
        // read-only where they lie.
        std::vector<std::string> readableFiles;
        // Set inside the sandbox, as "NAME=value".
        std::vector<std::string> environment;
    };

    // The words that run the words after them inside the sandbox, within a memory limit, ending
    // with "--"; an error (KSAPTManager::kSandboxUnavailable) naming why no sandbox can be made.
    static foundation::Result<std::vector<std::string>> prefix(const Sandbox& sandbox);
    // The sandbox of a command that writes nothing of the data folder.
    static foundation::Result<std::vector<std::string>> prefix();
    // What a command line runs inside the sandbox, as a person would type it on the device: the
    // words after the sandbox's own; a line that runs outside the sandbox as it is.
    static std::string commandInside(const std::string& commandLine);
    // The shell line of the words, which the root command runner's shell replaces itself with.
    static std::string commandLine(const std::vector<std::string>& words);
    // Whether the line names the device root, where it lies or as it was given.
    static bool namesDeviceRoot(const std::string& commandLine);
    // Whether the line's first word (after "exec") is the sandbox program, with its options ended.
    static bool startsInside(const std::string& commandLine);

  private:
    static foundation::Result<std::string> program();
    static foundation::Result<std::vector<std::string>> wordsOf(const Sandbox& sandbox);
    static foundation::Result<std::vector<std::string>> options(const Sandbox& sandbox);
    static void appendDataFolder(Access access, std::vector<std::string>& words);
    static void appendHostFolder(const std::string& folder, std::vector<std::string>& words);
    static foundation::Status tryOut(Access access);
};

}  // namespace corvane
