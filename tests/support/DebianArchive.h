#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace testing_support {

// A package archive for the iphoneos-arm architecture, built with dpkg-deb as a repository
// builds one: its control fields, files, symbolic links and maintainer scripts.
class DebianArchive {
  public:
    explicit DebianArchive(std::string name, std::string version = "1.0");

    // A control field beside Package, Version, Architecture, Maintainer and Description.
    DebianArchive& field(const std::string& name, const std::string& value);
    // A file at an absolute device path ("/var/mobile/file.txt").
    DebianArchive& file(const std::string& path, const std::string& contents);
    DebianArchive& link(const std::string& path, const std::string& target);
    // A maintainer script ("postinst", ...) run by /bin/sh with "set -e".
    DebianArchive& script(const std::string& name, const std::string& body);

    // "<folder>/<name>_<version>.deb", built; throws when dpkg-deb fails.
    std::string build(const std::filesystem::path& folder) const;
    // The control file's text.
    std::string control() const;

  private:
    void writeTree(const std::filesystem::path& tree) const;

    std::string name_;
    std::string version_;
    std::map<std::string, std::string> fields_;
    std::map<std::string, std::string> files_;
    std::map<std::string, std::string> links_;
    std::map<std::string, std::string> scripts_;
};

}  // namespace testing_support
