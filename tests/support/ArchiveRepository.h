#pragma once

#include <filesystem>
#include <string>

#include "support/DebianArchive.h"
#include "support/HttpServer.h"

namespace testing_support {

// A flat repository of archives a test builds, served on 127.0.0.1 as a static web server
// serves one: its index (Packages), a Release that gives the index's hash, and the archives
// under debs/.
class ArchiveRepository {
  public:
    ArchiveRepository();
    ~ArchiveRepository();
    ArchiveRepository(const ArchiveRepository&) = delete;
    ArchiveRepository& operator=(const ArchiveRepository&) = delete;

    // Builds the archive into the repository and lists it in the index; the file it serves.
    std::filesystem::path add(const DebianArchive& archive);
    // Lists a stanza exactly as written, however a hostile repository writes it; its Filename
    // may name an archive that add() built.
    void addStanza(const std::string& stanza);
    // "http://127.0.0.1:PORT/", as a source location is stored.
    std::string location() const;
    HttpServer& server() { return server_; }

  private:
    void writeIndex() const;

    std::filesystem::path folder_;
    std::string index_;
    HttpServer server_;
};

}  // namespace testing_support
