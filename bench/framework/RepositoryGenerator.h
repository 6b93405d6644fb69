#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace corvane::bench {

// Synthetic repository data shaped like what iOS repositories publish, the same for every run.
class RepositoryGenerator {
  public:
    explicit RepositoryGenerator(std::uint32_t seed = 2019) : random_(seed) {}

    // A Packages index of this many stanzas, each with the fields such repositories write,
    // multi-line descriptions included, separated by blank lines.
    std::string packagesIndex(int stanzas);
    // A Packages index shaped like a whole distribution's: a dozen fields and more, long Depends
    // lines, descriptions of several paragraphs; about 790 bytes a stanza on average.
    std::string distributionIndex(int stanzas);
    // Version pairs as a refresh compares them: mostly close relatives (a newer build, a
    // revision, a pre-release), some with epochs and unrelated numbering.
    std::vector<std::pair<std::string, std::string>> versionPairs(int count);

  private:
    std::string version();
    std::string relatedVersion(const std::string& version);
    std::string word();
    // A few lines of about 70 characters, each after a space, as a description goes on.
    std::string paragraph(int lines);
    std::string dependencies(int count);
    std::string hex(int digits);
    int number(int low, int high);

    std::mt19937 random_;
};

}  // namespace corvane::bench
