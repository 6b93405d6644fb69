#pragma once

namespace corvane {

// The repositories the program knows by address: the four whose web depictions it reads and
// whose icons it ships, and the maker's own, whose packages carry the verified badge. Locations
// are compared as exact strings, scheme and trailing "/" included, as sources store them.
struct KSKnownRepositories {
    static constexpr const char* kBigBossLocation =
        "http://apt.bigboss.example.org/repofiles/cydia/";
    static constexpr const char* kVostrelLocation = "http://repo.vostrel.example.org/";
    static constexpr const char* kModMyiLocation = "http://apt.modmyi.example.org/";
    static constexpr const char* kPellithLocation = "http://repo.pellith.example.org/repo/cydia/";
    static constexpr const char* kMakerLocation = "https://repo.kestrune.example.org/repo/";
};

}  // namespace corvane
