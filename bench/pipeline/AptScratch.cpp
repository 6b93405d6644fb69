#include "AptScratch.h"

#include <fstream>

namespace corvane::bench {

namespace fs = std::filesystem;

namespace {

std::string aptConfiguration(const fs::path& root) {
    const auto r = root.string();
    return "Dir \"" + r + "/\";\nDir::State \"" + r + "/state/\";\nDir::State::status \"" + r +
           "/status\";\nDir::Cache \"" + r + "/cache/\";\nDir::Etc \"" + r +
           "/etc/\";\nDir::Etc::SourceList \"" + r +
           "/etc/sources.list\";\nDir::Etc::SourceParts \"" + r +
           "/etc/sources.list.d/\";\nDir::Etc::Preferences \"" + r +
           "/etc/preferences\";\nDir::Etc::PreferencesParts \"" + r +
           "/etc/preferences.d/\";\nDir::Etc::Trusted \"" + r +
           "/etc/trusted.gpg\";\nDir::Etc::TrustedParts \"" + r +
           "/etc/trusted.gpg.d/\";\nDir::Log \"" + r +
           "/log/\";\nAPT::Architecture \"iphoneos-arm\";\nAPT::Architectures { \"iphoneos-arm\"; "
           "};\n"
           "Acquire::Languages \"none\";\nAPT::Sandbox::User \"root\";\n";
}

}  // namespace

AptScratch::AptScratch(const fs::path& root, const std::string& location) : root_(root) {
    for (const auto* folder :
         {"etc/apt.conf.d", "etc/sources.list.d", "etc/preferences.d", "etc/trusted.gpg.d",
          "state/lists/partial", "cache/archives/partial", "log"})
        fs::create_directories(root / folder);
    std::ofstream(root / "status");
    std::ofstream(root / "apt.conf") << aptConfiguration(root);
    std::ofstream(root / "etc/sources.list") << "deb [trusted=yes] " << location << " ./\n";
}

ProgramRun AptScratch::update() const {
    return runProgram({"apt-get", "-qq", "update"},
                      {"APT_CONFIG=" + (root_ / "apt.conf").string()});
}

}  // namespace corvane::bench
