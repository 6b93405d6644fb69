#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The names APT itself gives the files it fetches, so that the indexes and archives this system
// fetches are found by apt-get as its own: no "apt-get update" and no second download.
class KSAPTFileNames {
  public:
    // The list file of a flat repository ("deb <location> ./"):
    // "http://127.0.0.1:8080/repo/" and "Packages" -> "127.0.0.1:8080_repo_._Packages".
    static std::string listFileName(std::string_view location, std::string_view indexName);
    // The archive of one package version: "name_version_architecture.deb", the name in lower
    // case as APT keeps it, with '_' and ':' of
    // each part (and '.' of the architecture) escaped as APT escapes them, so an epoch's ':'
    // becomes "%3a".
    static std::string archiveFileName(std::string_view package, std::string_view version,
                                       std::string_view architecture);

    // APT's quoting: every character of bad, '%', blanks, control characters and bytes
    // outside ASCII become "%xx" in lower-case hexadecimal.
    static std::string quote(std::string_view text, std::string_view bad);
};

}  // namespace corvane
