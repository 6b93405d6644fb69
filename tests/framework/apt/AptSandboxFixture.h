#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "foundation/Value.h"
#include "framework/StorageFixture.h"
#include "framework/apt/KSAPTCommandLine.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSParsingUtility.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/apt/KSStatusFileSync.h"
#include "framework/storage/KSRSource.h"
#include "framework/tasks/KSPackageDownloadTask.h"
#include "framework/tasks/KSSourceRefreshTask.h"
#include "support/SampleRepository.h"

namespace corvane::testing {

// A fresh device root with the APT sandbox over it, and the sample repository served on
// 127.0.0.1 as its one source: APT's lists and the database are filled by the program's own
// refresh. The host's dpkg database must come out as it went in, and every state
// that dpkg gave a package of the device must be in the device root's dpkg log, not the host's.
class AptSandboxFixture : public StorageFixture {
  protected:
    static constexpr const char* kHostStatus = "/var/lib/dpkg/status";

    void SetUp() override {
        StorageFixture::SetUp();
        hostStatus_ = fileDigest(kHostStatus);
        repository_ = sample_.folder().string();
        location_ = sample_.location();
        ASSERT_TRUE(KSAPTManager::createAPTSandboxIfNeeded());
        addSource(location_, "Sample Repository");
        statesBefore_ = dpkgStates();
    }

    void TearDown() override {
        EXPECT_EQ(fileDigest(kHostStatus), hostStatus_) << "the host's dpkg database changed";
        const auto log = deviceFile("/var/log/dpkg.log");
        for (const auto& [identifier, state] : dpkgStates()) {
            if (statesBefore_[identifier] != state) {
                EXPECT_NE(log.find("status " + state + " " + identifier + ":"), std::string::npos)
                    << identifier << " became " << state << " without a word in the device's log";
            }
        }
        StorageFixture::TearDown();
    }

    static std::string fileDigest(const std::string& path) {
        const auto bytes = foundation::FileManager::readFile(path);
        return bytes ? foundation::sha256Hex(*bytes) : "missing";
    }

    // The dpkg status stanza of a package in the device root, if dpkg knows it.
    std::optional<foundation::Value> dpkgStanza(const std::string& identifier) const {
        const auto text = foundation::FileManager::readText(root_.resolve("/var/lib/dpkg/status"));
        if (!text)
            return std::nullopt;
        for (const auto& stanza : KSParsingUtility::arrayFromPackagesFromString(*text))
            if (stanza["Package"].optionalString() == identifier)
                return stanza;
        return std::nullopt;
    }

    // The state dpkg holds each package of the device in ("installed", "unpacked", ...).
    std::map<std::string, std::string> dpkgStates() const {
        std::map<std::string, std::string> states;
        const auto text = foundation::FileManager::readText(root_.resolve("/var/lib/dpkg/status"));
        for (const auto& stanza : KSParsingUtility::arrayFromPackagesFromString(text.valueOr("")))
            if (const auto status = stanza["Status"].optionalString())
                states[stanza["Package"].stringValue()] =
                    status->substr(status->find_last_of(' ') + 1);
        return states;
    }

    // "install ok installed 1.0", or "" when dpkg does not know the package.
    std::string dpkgState(const std::string& identifier) const {
        const auto stanza = dpkgStanza(identifier);
        if (!stanza)
            return "";
        return stanza->operator[]("Status").optionalString().value_or("") + " " +
               stanza->operator[]("Version").optionalString().value_or("");
    }

    std::string deviceFile(const std::string& devicePath) const {
        return foundation::FileManager::readText(root_.resolve(devicePath)).valueOr("(missing)");
    }

    // The queue confirmed and its archives fetched by the application's download tasks, as the
    // confirmation has them fetched before the APT operation, which fetches nothing, runs.
    static void downloadArchives(const std::string& queue) {
        KSAPTManager::setQueue(queue);
        for (const auto& identifier : KSAPTManager::unmetDependenciesForPackages(queue).downloads) {
            auto download = std::make_shared<KSPackageDownloadTask>(identifier);
            download->start();
            ASSERT_TRUE(download->outcome().success) << identifier;
        }
    }

    // The sample repository's archive, copied into the device root, where the sandbox reads it.
    std::string archive(const std::string& name) const {
        const auto copy = root_.resolve("/var/mobile/Archives/" + name + ".deb");
        if (!foundation::FileManager::fileExists(copy)) {
            EXPECT_TRUE(
                foundation::FileManager::createDirectory(root_.resolve("/var/mobile/Archives")));
            EXPECT_TRUE(
                foundation::FileManager::copyItem(repository_ + "/debs/" + name + ".deb", copy));
        }
        return copy;
    }

    testing_support::SampleRepository sample_;
    std::string repository_;
    std::string location_;

    // The repository stored as a source and refreshed, as a person adds one: its index in APT's
    // lists and in the database.
    void addSource(const std::string& location, const std::string& name = {}) {
        KSRSource source;
        source.location = location;
        if (!name.empty())
            source.name = name;
        auto database = realm();
        database.write([&] { database.addOrUpdateObject(source); });
        ASSERT_TRUE(KSAPTManager::writeSourceList());
        auto refresh = std::make_shared<KSSourceRefreshTask>(location);
        refresh->start();
        ASSERT_TRUE(refresh->outcome().success);
    }

  private:

    std::string hostStatus_;
    std::map<std::string, std::string> statesBefore_;
};

}  // namespace corvane::testing
