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
    // Version pairs as a refresh compares them: mostly close relatives (a newer build, a
    // revision, a pre-release), some with epochs and unrelated numbering.
    std::vector<std::pair<std::string, std::string>> versionPairs(int count);

  private:
    std::string version();
    std::string relatedVersion(const std::string& version);
    std::string word();
    std::string hex(int digits);
    int number(int low, int high);

    std::mt19937 random_;
};

}  // namespace corvane::bench
