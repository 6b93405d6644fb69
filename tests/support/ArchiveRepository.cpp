#include "support/ArchiveRepository.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "foundation/Digest.h"

namespace testing_support {

namespace {

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

ArchiveRepository::ArchiveRepository() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "corvane-archive-repo-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder for the repository");
    folder_ = pattern;
    std::filesystem::create_directory(folder_ / "debs");
    writeIndex();
    server_.serveFolder(folder_);
    server_.start();
}

ArchiveRepository::~ArchiveRepository() {
    server_.stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::filesystem::path ArchiveRepository::add(const DebianArchive& archive) {
    const std::filesystem::path built = archive.build(folder_ / "debs");
    const auto bytes = contents(built);
    index_ += archive.control() + "Filename: debs/" + built.filename().string() +
              "\nSize: " + std::to_string(bytes.size()) +
              "\nSHA256: " + foundation::sha256Hex(std::string_view(bytes)) + "\n\n";
    writeIndex();
    return built;
}

void ArchiveRepository::addStanza(const std::string& stanza) {
    index_ += stanza + "\n\n";
    writeIndex();
}

std::string ArchiveRepository::location() const {
    return server_.url("/");
}

void ArchiveRepository::writeIndex() const {
    std::ofstream(folder_ / "Packages", std::ios::binary) << index_;
    std::ofstream(folder_ / "Release", std::ios::binary)
        << "Origin: Test\nLabel: Test\nSuite: stable\nCodename: test\n"
        << "Architectures: iphoneos-arm iphoneos-arm64\nComponents: main\nSHA256:\n "
        << foundation::sha256Hex(std::string_view(index_)) << " " << index_.size() << " Packages\n";
}

}  // namespace testing_support
