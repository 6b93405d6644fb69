#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "support/HttpServer.h"

namespace testing_support {

// The sample repository of resources/sample-repo, built by scripts/make-sample-repo into a
// temporary folder and served on 127.0.0.1 the way a static web server serves it: files of the
// folder with a Last-Modified answer, 304 to an If-Modified-Since that names it, 404 for the
// rest. Routes set on server() take precedence over the files.
class SampleRepository {
  public:
    SampleRepository();
    ~SampleRepository();
    SampleRepository(const SampleRepository&) = delete;
    SampleRepository& operator=(const SampleRepository&) = delete;

    // "http://127.0.0.1:PORT/", as a source location is stored.
    std::string location() const;
    const std::filesystem::path& folder() const { return folder_; }
    // The packages its index offers, one for all their versions.
    std::size_t packageCount() const;
    HttpServer& server() { return server_; }

    // The project's source folder: the environment's CORVANE_SOURCE_DIR, else the one the tests
    // were built from.
    static std::filesystem::path sourceDirectory();
    // Runs make-sample-repo into folder for the base address (without a trailing slash);
    // throws when it fails.
    static void build(const std::filesystem::path& folder, const std::string& baseAddress);

  private:
    CannedResponse answer(const CapturedRequest& request) const;

    std::filesystem::path root_;
    std::filesystem::path folder_;
    HttpServer server_;
};

}  // namespace testing_support
