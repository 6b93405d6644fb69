#include "framework/apt/KSAPTCommandLine.h"

#include <sys/stat.h>

#include <algorithm>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/debian/ShellQuote.h"

namespace corvane {

namespace {

const std::vector<std::string> kKeepConfiguration = {"--force-confdef", "--force-confold"};

const std::string kNoQuestions = "DEBIAN_FRONTEND=noninteractive";

// Made with the shell's own tests, inside the sandbox: whatever a package left in place of a
// folder or file (a link, a FIFO) is met there, where it leads nowhere of the host's. A FIFO,
// socket or device in dpkg's database would hang or mislead every later command, and so would a
// link in place of one of its own files: dpkg makes neither, and they are refused by name.
constexpr const char* kPrepareDevice = R"sh(set -e
root=$1 admin=$2 log=$3
shift 3
odd=
if [ -L "$admin" ]; then
    odd=$admin
elif [ -d "$admin" ]; then
    odd=$(cd "$admin" && find . \( -type p -o -type s -o -type b -o -type c \) -print -quit \
        -o -type l ! -path "./info/*" -print -quit)
    [ -z "$odd" ] || odd=$admin/${odd#./}
fi
if [ -n "$odd" ]; then
    echo "dpkg's database holds $odd, which dpkg never makes: remove it to install, remove or \
configure packages again."
    exit 1
fi
mkdir -p -- "$admin/info" "$admin/updates" "$admin/triggers" "${log%/*}" "$root/var/lib/apt" \
    "$root/var/log/apt"
for file in "$admin/status" "$admin/available"; do
    [ -e "$file" ] || [ -L "$file" ] || : > "$file"
done
# A run cut short leaves its last changes in dpkg's journal, which APT refuses to work over and
# which only dpkg reads: an empty change of selections writes them into the status file.
if [ -n "$(ls -A "$admin/updates")" ]; then
    dpkg --root="$root" --admindir="$admin" --log="$log" --force-not-root --set-selections \
        < /dev/null
fi
for architecture; do
    grep -qx -- "$architecture" "$admin/arch" 2>/dev/null ||
        dpkg --root="$root" --admindir="$admin" --log="$log" --force-not-root \
            --add-architecture "$architecture"
done)sh";

std::vector<std::string> joined(std::vector<std::string> first,
                                const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::vector<std::string> aptEnvironment() {
    return {"APT_CONFIG=" + KSAPTManager::configurationFile(), kNoQuestions};
}

// Where it really lies: an archive beside the device root whose folder's name begins with the
// root's is outside it, and so is a link in the device root that leads out of it.
bool liesInDeviceRoot(const std::string& path) {
    return foundation::FileManager::liesWithin(path, foundation::DeviceRoot::path());
}

bool isRegularFile(const std::string& path, bool followingLinks) {
    struct stat info {};
    const int found = followingLinks ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    return found == 0 && S_ISREG(info.st_mode);
}

foundation::Error archiveError(const std::string& archivePath, const std::string& description) {
    auto error = foundation::Error::make(KSAPTManager::kErrorDomain,
                                         KSAPTManager::kInvalidArchivePath, description);
    error.userInfo.mutableDictionary()["path"] = archivePath;
    return error;
}

}  // namespace

foundation::Result<std::string> KSAPTCommandLine::apt(const std::string& tool,
                                                      const std::vector<std::string>& arguments,
                                                      Access access) {
    return sandboxed({access, {}, aptEnvironment()}, joined({tool}, arguments));
}

foundation::Result<std::string> KSAPTCommandLine::aptGet(
    const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {"-y", "--no-download"};
    for (const auto& option : kKeepConfiguration) {
        words.push_back("-o");
        words.push_back("Dpkg::Options::=" + option);
    }
    return apt("apt-get", joined(words, arguments));
}

foundation::Result<std::string> KSAPTCommandLine::aptGetDownload(
    const std::vector<std::string>& arguments) {
    return apt("apt-get", joined({"-y", "--download-only"}, arguments), Access::download);
}

foundation::Result<std::string> KSAPTCommandLine::dpkg(const std::vector<std::string>& arguments,
                                                       const std::vector<std::string>& archives) {
    auto readable = readableArchives(archives);
    FOUNDATION_RETURN_IF_ERROR(readable);
    return sandboxed({Access::device, *readable, {kNoQuestions}}, dpkgWords(arguments));
}

foundation::Result<std::string> KSAPTCommandLine::prepareDevice(
    const std::vector<std::string>& architectures) {
    const std::vector<std::string> words = {"sh",
                                            "-c",
                                            kPrepareDevice,
                                            "sh",
                                            foundation::DeviceRoot::path(),
                                            KSAPTManager::dpkgAdminDirectory(),
                                            KSAPTManager::dpkgLogFile()};
    return sandboxed({}, joined(words, architectures));
}

std::vector<std::string> KSAPTCommandLine::dpkgWords(const std::vector<std::string>& arguments) {
    const std::vector<std::string> words = {"dpkg",
                                            "--root=" + foundation::DeviceRoot::path(),
                                            "--admindir=" + KSAPTManager::dpkgAdminDirectory(),
                                            "--log=" + KSAPTManager::dpkgLogFile(),
                                            "--force-script-chrootless",
                                            "--force-not-root",
                                            kKeepConfiguration[0],
                                            kKeepConfiguration[1]};
    return joined(words, arguments);
}

foundation::Result<std::vector<std::string>> KSAPTCommandLine::readableArchives(
    const std::vector<std::string>& archives) {
    std::vector<std::string> outside;
    for (const auto& archive : archives) {
        FOUNDATION_RETURN_IF_ERROR(checkArchivePath(archive));
        if (!liesInDeviceRoot(archive))
            outside.push_back(archive);
    }
    return outside;
}

foundation::Result<std::string> KSAPTCommandLine::sandboxed(const KSBubblewrap::Sandbox& sandbox,
                                                            const std::vector<std::string>& words) {
    auto prefix = KSBubblewrap::prefix(sandbox);
    FOUNDATION_RETURN_IF_ERROR(prefix);
    return KSBubblewrap::commandLine(joined(*prefix, words));
}

std::vector<std::string> KSAPTCommandLine::queueArguments(
    const std::vector<KSAPTQueueEntry>& entries) {
    std::vector<std::string> words = {"--allow-downgrades", "install"};
    if (std::any_of(entries.begin(), entries.end(),
                    [](const auto& entry) { return entry.reinstall; }))
        words.push_back("--reinstall");
    words.push_back("--");
    for (const auto& entry : entries)
        words.push_back(entry.aptArgument());
    return words;
}

foundation::Result<std::string> KSAPTCommandLine::simulation(
    const std::vector<KSAPTQueueEntry>& entries) {
    return apt("apt-get", joined({"-s", "--assume-no"}, queueArguments(entries)));
}

foundation::Result<std::string> KSAPTCommandLine::install(
    const std::vector<KSAPTQueueEntry>& entries) {
    return aptGet(queueArguments(entries));
}

foundation::Result<std::string> KSAPTCommandLine::dpkgDebInfo(const std::string& archivePath) {
    auto readable = readableArchives({archivePath});
    FOUNDATION_RETURN_IF_ERROR(readable);
    return sandboxed({Access::device, *readable, {}},
                     {"dpkg-deb", "--info", archivePath, "control"});
}

foundation::Status KSAPTCommandLine::checkArchivePath(const std::string& archivePath) {
    const bool printable =
        std::none_of(archivePath.begin(), archivePath.end(),
                     [](unsigned char character) { return character < 0x20 || character == 0x7f; });
    if (!archivePath.empty() && archivePath.front() == '/' && printable &&
        isRegularFile(archivePath, liesInDeviceRoot(archivePath)))
        return foundation::Success{};
    return archiveError(archivePath, "\"" + archivePath + "\" is not a package archive.");
}

}  // namespace corvane
