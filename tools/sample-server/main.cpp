// sample-server FOLDER [--port N] [--build-sample]
//
// Serves the files of FOLDER on 127.0.0.1 as a static web server does (Last-Modified, 304 for
// an If-Modified-Since that names it, 404 for the rest) and prints the address it listens on.
// With --build-sample, the sample repository is first built into FOLDER with that address.
#include <httplib.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Options {
    fs::path folder;
    int port = 0;
    bool buildSample = false;
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        if (argument == "--build-sample") {
            options.buildSample = true;
        } else if (argument == "--port" && index + 1 < argc) {
            options.port = std::atoi(argv[++index]);
        } else if (!argument.starts_with("-") && options.folder.empty()) {
            options.folder = argument;
        } else {
            return std::nullopt;
        }
    }
    if (options.folder.empty() || options.port < 0 || options.port > 65535)
        return std::nullopt;
    return options;
}

bool buildSampleRepository(const fs::path& folder, const std::string& base) {
    const std::string script = std::string(CORVANE_SOURCE_DIR) + "/scripts/make-sample-repo";
    std::vector<std::string> arguments = {script, folder.string(), base};
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string lastModified(const fs::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return {};
    std::tm utc{};
    gmtime_r(&status.st_mtime, &utc);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &utc);
    return text;
}

std::string contentType(const fs::path& file) {
    const auto extension = file.extension().string();
    if (extension == ".html")
        return "text/html; charset=utf-8";
    if (extension == ".json")
        return "application/json";
    if (extension == ".png")
        return "image/png";
    if (extension == ".jpg" || extension == ".jpeg")
        return "image/jpeg";
    return "application/octet-stream";
}

void serveFile(const fs::path& root, const httplib::Request& request, httplib::Response& response) {
    const auto relative = fs::path(request.path).relative_path();
    for (const auto& part : relative)
        if (part == "..") {
            response.status = 404;
            return;
        }
    const auto file = root / relative;
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        response.status = 404;
        return;
    }
    const auto modified = lastModified(file);
    if (request.get_header_value("If-Modified-Since") == modified) {
        response.status = 304;
        return;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream body;
    body << in.rdbuf();
    response.set_header("Last-Modified", modified);
    response.set_content(body.str(), contentType(file));
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: sample-server FOLDER [--port N] [--build-sample]\n";
        return 2;
    }
    httplib::Server server;
    const int port = options->port == 0
                         ? server.bind_to_any_port("127.0.0.1")
                         : (server.bind_to_port("127.0.0.1", options->port) ? options->port : -1);
    if (port <= 0) {
        std::cerr << "sample-server: cannot listen on 127.0.0.1\n";
        return 1;
    }
    const std::string base = "http://127.0.0.1:" + std::to_string(port);
    if (options->buildSample && !buildSampleRepository(options->folder, base)) {
        std::cerr << "sample-server: building the sample repository failed\n";
        return 1;
    }
    const fs::path root = fs::absolute(options->folder);
    server.Get(".*", [&root](const httplib::Request& request, httplib::Response& response) {
        serveFile(root, request, response);
    });
    std::cout << base << "/" << std::endl;
    server.listen_after_bind();
    return 0;
}
