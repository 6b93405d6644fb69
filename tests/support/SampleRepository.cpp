#include "support/SampleRepository.h"

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "support/ToolRun.h"

namespace testing_support {

namespace {

std::string lastModified(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0)
        return {};
    const std::time_t seconds = status.st_mtime;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &utc);
    return text;
}

}  // namespace

SampleRepository::SampleRepository() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "corvane-sample-repo-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder for the sample repository");
    root_ = pattern;
    folder_ = root_ / "repo";
    server_.setFallback([this](const CapturedRequest& request) { return answer(request); });
    server_.start();
    build(folder_, "http://127.0.0.1:" + std::to_string(server_.port()));
}

SampleRepository::~SampleRepository() {
    server_.stop();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string SampleRepository::location() const {
    return server_.url("/");
}

std::size_t SampleRepository::packageCount() const {
    std::ifstream index(folder_ / "Packages");
    std::set<std::string> names;
    for (std::string line; std::getline(index, line);) {
        if (line.rfind("Package: ", 0) == 0)
            names.insert(line.substr(9));
    }
    return names.size();
}

std::filesystem::path SampleRepository::sourceDirectory() {
    if (const char* configured = std::getenv("CORVANE_SOURCE_DIR"); configured && *configured)
        return configured;
    return CORVANE_SOURCE_DIR;
}

void SampleRepository::build(const std::filesystem::path& folder, const std::string& baseAddress) {
    const auto script = (sourceDirectory() / "scripts" / "make-sample-repo").string();
    if (runTool({script, folder.string(), baseAddress}) != 0)
        throw std::runtime_error("make-sample-repo failed");
}

CannedResponse SampleRepository::answer(const CapturedRequest& request) const {
    CannedResponse missing;
    missing.status = 404;
    const auto relative = std::filesystem::path(request.path).relative_path();
    for (const auto& part : relative)
        if (part == "..")
            return missing;
    const auto file = folder_ / relative;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return missing;
    const auto modified = lastModified(file);
    if (request.header("If-Modified-Since") == modified) {
        CannedResponse unchanged;
        unchanged.status = 304;
        return unchanged;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream body;
    body << in.rdbuf();
    CannedResponse response;
    response.body = body.str();
    response.contentType = "application/octet-stream";
    response.headers.emplace_back("Last-Modified", modified);
    return response;
}

}  // namespace testing_support
