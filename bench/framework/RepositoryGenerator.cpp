#include "RepositoryGenerator.h"

#include <array>

namespace corvane::bench {

namespace {

constexpr std::array kWords = {"tweak",   "dock",        "status",   "bar",     "theme",
                               "battery", "music",       "lock",     "panel",   "widget",
                               "color",   "springboard", "folder",   "control", "center",
                               "notify",  "swipe",       "keyboard", "camera"};
constexpr std::array kSections = {"Tweaks", "Themes", "Utilities", "System", "Widgets", "Addons"};
constexpr std::array kPeople = {"Alex Moreau", "Sam Lee", "Priya Nair", "Jonas Berg", "Mia Chen"};
constexpr std::array kDependencies = {
    "mobilesubstrate (>= 0.9.5000)", "preferenceloader",          "firmware (>= 12.0)",
    "com.opa334.altlist (>= 1.0)",   "ws.hbang.common (>= 1.14)", "cy+cpu.arm64"};

constexpr std::array kLibraries = {"libc6 (>= 2.34)",
                                   "libgcc-s1 (>= 3.0)",
                                   "libstdc++6 (>= 12)",
                                   "zlib1g (>= 1:1.2.0)",
                                   "libglib2.0-0 (>= 2.70)",
                                   "libssl3 (>= 3.0.0)",
                                   "libxml2 (>= 2.9.0)",
                                   "perl:any",
                                   "python3:any",
                                   "libgtk-3-0 (>= 3.24)",
                                   "libqt5core5a (>= 5.15.1)",
                                   "debconf (>= 0.5) | debconf-2.0",
                                   "libcurl4 (>= 7.16.2)",
                                   "libsqlite3-0 (>= 3.7.15)"};
constexpr std::array kDistributionSections = {"libs", "utils", "devel",    "perl", "python",
                                              "net",  "admin", "graphics", "text", "science"};
constexpr std::array kTeams = {"Debian Perl Group <pkg-perl-maintainers@lists.example.org>",
                               "Debian Python Team <team+python@tracker.example.org>",
                               "Jonas Berg <jonas@example.org>", "Priya Nair <priya@example.org>",
                               "Debian Science Team <debian-science@lists.example.org>"};
constexpr std::array kProse = {
    "library",       "provides",  "support",   "files",   "data",        "the",
    "for",           "with",      "and",       "this",    "package",     "contains",
    "tools",         "module",    "interface", "of",      "a",           "to",
    "shared",        "runtime",   "format",    "network", "protocol",    "command",
    "line",          "graphical", "user",      "which",   "development", "headers",
    "documentation", "is",        "an",        "in",      "it"};

}  // namespace

int RepositoryGenerator::number(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}

std::string RepositoryGenerator::word() {
    return kWords[number(0, kWords.size() - 1)];
}

std::string RepositoryGenerator::hex(int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < digits; ++i)
        text += kDigits[number(0, 15)];
    return text;
}

std::string RepositoryGenerator::version() {
    std::string text = std::to_string(number(0, 12)) + "." + std::to_string(number(0, 30));
    if (number(0, 2) > 0)
        text.append(".").append(std::to_string(number(0, 200)));
    switch (number(0, 9)) {
        case 0:
            text.append("~beta").append(std::to_string(number(1, 9)));
            break;
        case 1:
            text.append("+git20").append(std::to_string(number(190101, 231231)));
            break;
        case 2:
            text = std::to_string(number(1, 3)) + ":" + text;
            break;
        default:
            break;
    }
    if (number(0, 1) == 0)
        text.append("-").append(std::to_string(number(0, 5)));
    return text;
}

std::string RepositoryGenerator::relatedVersion(const std::string& version) {
    switch (number(0, 4)) {
        case 0:
            return version;
        case 1:
            return version + "-1";
        case 2:
            return version + "~rc1";
        case 3:
            return version + "." + std::to_string(number(0, 9));
        default:
            return this->version();
    }
}

std::string RepositoryGenerator::packagesIndex(int stanzas) {
    std::string text;
    text.reserve(static_cast<std::size_t>(stanzas) * 900);
    for (int i = 0; i < stanzas; ++i) {
        const std::string name = word() + word() + std::to_string(i);
        const std::string id = "com." + word() + "." + name;
        const std::string person = kPeople[number(0, kPeople.size() - 1)];
        const std::string release = version();
        text += "Package: " + id + "\n";
        text += "Name: " + name + "\n";
        text += "Version: " + release + "\n";
        text += "Architecture: iphoneos-arm\n";
        text += "Maintainer: " + person + " <" + word() + "@example.com>\n";
        text += "Author: " + person + " <" + word() + "@example.com>\n";
        text += "Section: " + std::string(kSections[number(0, kSections.size() - 1)]) + "\n";
        text += "Depends: " + std::string(kDependencies[number(0, 2)]) + ", " +
                kDependencies[number(3, kDependencies.size() - 1)] + "\n";
        text += "Filename: debs/" + id + "_" + release + "_iphoneos-arm.deb\n";
        text += "Size: " + std::to_string(number(4000, 9000000)) + "\n";
        text += "Installed-Size: " + std::to_string(number(10, 20000)) + "\n";
        text += "MD5sum: " + hex(32) + "\n";
        text += "SHA256: " + hex(64) + "\n";
        text += "Description: A " + word() + " " + word() + " for your " + word() + "\n";
        if (number(0, 2) == 0)
            text +=
                " Adds a " + word() + " to the " + word() + ".\n .\n Works with iOS 12 to 14.\n";
        text += "Depiction: https://repo.example.com/depictions/?p=" + id + "\n";
        text += "SileoDepiction: https://repo.example.com/sileo/" + id + ".json\n";
        text += "Icon: https://repo.example.com/icons/" + id + ".png\n";
        text += "Tag: purpose::extension, compatible::ios" + std::to_string(number(11, 14)) + "\n";
        if (number(0, 4) == 0)
            text += "Conflicts: com." + word() + "." + word() + "\n";
        text += "\n";
    }
    return text;
}

std::string RepositoryGenerator::paragraph(int lines) {
    std::string text;
    for (int line = 0; line < lines; ++line) {
        std::string words;
        while (words.size() < 56)
            words.append(words.empty() ? "" : " ").append(kProse[number(0, kProse.size() - 1)]);
        text.append(" ").append(words).append(".\n");
    }
    return text;
}

std::string RepositoryGenerator::dependencies(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text.append(i == 0 ? "" : ", ").append(kLibraries[number(0, kLibraries.size() - 1)]);
    return text;
}

std::string RepositoryGenerator::distributionIndex(int stanzas) {
    std::string text;
    text.reserve(static_cast<std::size_t>(stanzas) * 850);
    for (int i = 0; i < stanzas; ++i) {
        const std::string name = "lib" + word() + "-" + word() + std::to_string(i);
        const std::string release = version();
        const std::string section =
            kDistributionSections[number(0, kDistributionSections.size() - 1)];
        text += "Package: " + name + "\n";
        if (number(0, 2) == 0)
            text += "Source: " + word() + "-" + word() + std::to_string(i) + "\n";
        text += "Version: " + release + "\n";
        text += "Installed-Size: " + std::to_string(number(10, 60000)) + "\n";
        text += "Maintainer: " + std::string(kTeams[number(0, kTeams.size() - 1)]) + "\n";
        text += "Architecture: iphoneos-arm\n";
        text += "Depends: " + dependencies(number(2, 6)) + "\n";
        if (number(0, 4) == 0)
            text += "Recommends: " + dependencies(number(1, 3)) + "\n";
        text += "Description: " + word() + " " + word() + " " + kProse[number(0, 10)] + " for " +
                word() + "\n";
        text += paragraph(number(1, 3));
        if (number(0, 2) == 0)
            text += " .\n" + paragraph(number(1, 2));
        if (number(0, 2) > 0)
            text += "Homepage: https://" + word() + ".example.org/\n";
        text += "Description-md5: " + hex(32) + "\n";
        if (number(0, 3) == 0)
            text += "Tag: devel::library, role::shared-lib, implemented-in::c\n";
        text += "Section: " + section + "\n";
        text += "Priority: optional\n";
        // Archive names leave the epoch out.
        const auto epochEnd = release.find(':');
        text += "Filename: pool/main/" + name.substr(0, 4) + "/" + name + "/" + name + "_" +
                release.substr(epochEnd == std::string::npos ? 0 : epochEnd + 1) +
                "_iphoneos-arm.deb\n";
        text += "Size: " + std::to_string(number(2000, 9000000)) + "\n";
        text += "MD5sum: " + hex(32) + "\n";
        text += "SHA256: " + hex(64) + "\n";
        text += "\n";
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> RepositoryGenerator::versionPairs(int count) {
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::string first = version();
        std::string second = relatedVersion(first);
        pairs.emplace_back(std::move(first), std::move(second));
    }
    return pairs;
}

}  // namespace corvane::bench
