#include "LoopbackRepository.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "foundation/Digest.h"
#include "framework/network/RepositoryRequest.h"

extern char** environ;

namespace corvane::bench {

namespace fs = std::filesystem;

namespace {

int spawnAndWait(const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment) {
    const pid_t child = spawnQuietly(arguments, environment);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

}  // namespace

pid_t spawnQuietly(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment) {
    std::vector<std::string> entries(environment);
    for (char** entry = environ; *entry; ++entry)
        entries.emplace_back(*entry);
    std::vector<char*> envp;
    for (auto& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> words(arguments);
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? child : -1;
}

ProgramRun runProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
    std::string pattern = (fs::temp_directory_path() / "corvane-peak-XXXXXX").string();
    const int file = mkstemp(pattern.data());
    if (file < 0)
        return {};
    close(file);
    std::vector<std::string> measured = {PEAK_MEMORY_PROGRAM, pattern};
    measured.insert(measured.end(), arguments.begin(), arguments.end());
    ProgramRun run;
    run.status = spawnAndWait(measured, environment);
    std::ifstream(pattern) >> run.ownPeakKibibytes >> run.peakKibibytes;
    fs::remove(pattern);
    return run;
}

LoopbackRepository::LoopbackRepository() {
    std::string pattern = (fs::temp_directory_path() / "corvane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch folder");
    scratch_ = pattern;
    folder_ = scratch_ / "repo";
    for (const auto& index : refreshIndexes())
        writeRepository(index);
    server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        // "/<index>/<name>/Packages.xz" -> "<index>/Packages.xz"
        const auto path = fs::path(request.path).lexically_normal();
        const auto file = folder_ / path.parent_path().parent_path().filename() / path.filename();
        std::ifstream in(file, std::ios::binary);
        if (request.path.find("..") != std::string::npos || !fs::is_regular_file(file) || !in) {
            response.status = 404;
            return;
        }
        std::ostringstream body;
        body << in.rdbuf();
        response.set_content(body.str(), "application/octet-stream");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    listener_ = std::thread([this] { server_.listen_after_bind(); });
}

LoopbackRepository::~LoopbackRepository() {
    server_.stop();
    if (listener_.joinable())
        listener_.join();
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
}

LoopbackRepository& LoopbackRepository::shared() {
    static LoopbackRepository repository;
    return repository;
}

std::string LoopbackRepository::location(const RefreshIndex& index, const std::string& name) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + index.name + "/" + name + "/";
}

void LoopbackRepository::writeRepository(const RefreshIndex& refreshIndex) const {
    const auto folder = folder_ / refreshIndex.name;
    fs::create_directories(folder);
    const auto& index = textOf(refreshIndex);
    std::ofstream(folder / "Packages", std::ios::binary) << index;
    // On every core: one took half a minute for the distribution's index.
    if (runProgram({"xz", "-6", "-T0", "-k", "-f", (folder / "Packages").string()}).status != 0)
        throw std::runtime_error("xz failed");
    std::ifstream compressedFile(folder / "Packages.xz", std::ios::binary);
    std::ostringstream compressed;
    compressed << compressedFile.rdbuf();
    std::ostringstream release;
    release << "Origin: Bench\nLabel: Bench\nSuite: stable\nCodename: bench\n"
            << "Date: " << RepositoryRequest::httpDate(static_cast<double>(std::time(nullptr)))
            << "\nArchitectures: iphoneos-arm\nComponents: main\nDescription: Generated\nSHA256:\n"
            << " " << foundation::sha256Hex(index) << " " << index.size() << " Packages\n"
            << " " << foundation::sha256Hex(compressed.str()) << " " << compressed.str().size()
            << " Packages.xz\n";
    std::ofstream(folder / "Release", std::ios::binary) << release.str();
}

}  // namespace corvane::bench
