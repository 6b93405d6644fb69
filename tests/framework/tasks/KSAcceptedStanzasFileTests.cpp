#include "framework/tasks/KSAcceptedStanzasFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/FileManager.h"
#include "framework/TemporaryFile.h"
#include "framework/storage/KSRPackageIndexString.h"

namespace corvane::testing {
namespace {

// APT's list must be the index without exactly the refused stanzas, wherever they fall: first,
// last, side by side, and across the pieces the text is copied in.
TEST(KSAcceptedStanzasFile, LeavesOutExactlyTheRefusedStanzas) {
    std::vector<std::string> stanzas;
    for (int i = 0; i < 2000; ++i)
        stanzas.push_back("Package: p" + std::to_string(i) +
                          "\nDescription: " + std::string(400, 'a' + i % 26));
    std::string index;
    std::vector<KSAcceptedStanzasFile::Place> places;
    for (const auto& stanza : stanzas) {
        places.push_back({index.size(), stanza.size()});
        index += stanza + "\n\n";
    }
    KSRPackageIndexString text(index);
    while (text.nextPiece().valueOr(std::nullopt))
        continue;
    const std::vector<std::size_t> refused = {0, 1, 2, 600, 601, 1999};
    std::vector<KSAcceptedStanzasFile::Place> refusedPlaces;
    std::string expected;
    for (std::size_t i = 0; i < stanzas.size(); ++i) {
        const bool isRefused = std::ranges::find(refused, i) != refused.end();
        if (isRefused)
            refusedPlaces.push_back(places[i]);
        expected += (isRefused ? "" : stanzas[i]) + "\n\n";
    }

    const TemporaryFile list("old list");
    ASSERT_TRUE(KSAcceptedStanzasFile::write(text, refusedPlaces, list.path()));
    EXPECT_EQ(foundation::FileManager::readText(list.path()).valueOr(""), expected);
    ASSERT_TRUE(KSAcceptedStanzasFile::write(text, {}, list.path()));
    EXPECT_EQ(foundation::FileManager::readText(list.path()).valueOr(""), index);

    const auto nowhere = KSAcceptedStanzasFile::write(text, {}, list.path() + "/below a file");
    ASSERT_FALSE(nowhere);
    EXPECT_EQ(nowhere.error().domain, foundation::FileManager::kErrorDomain);
}

}  // namespace
}  // namespace corvane::testing
