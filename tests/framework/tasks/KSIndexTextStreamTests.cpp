#include "framework/tasks/KSIndexTextStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/FileManager.h"
#include "framework/RunCommand.h"
#include "framework/TemporaryFile.h"
#include "framework/debian/StanzaReader.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane::testing {
namespace {

// An index of well over a megabyte, so that it comes in several pieces; some stanzas end in
// CRLF or in lines of blanks.
std::string largeIndex() {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        const std::string id = std::to_string(i);
        const char* end = i % 7 == 0 ? "\r\n" : "\n";
        text += "Package: com.example.p" + id + end + "Version: 1." + id + end +
                "Description: package " + id + end + " " + std::string(400, 'a' + i % 26) + end +
                (i % 5 == 0 ? " \t" : "") + end;
    }
    return text;
}

std::string xz(const std::string& text) {
    const auto result = runCommand({"xz", "-c"}, text);
    EXPECT_EQ(result.exitStatus, 0) << result.errors;
    return result.output;
}

// The downloaded data the stream reads, and beside it the file the stream writes the text into.
class Download : public TemporaryFile {
  public:
    using TemporaryFile::TemporaryFile;
    operator std::string() const { return path(); }
    std::string textFile() const { return path() + ".text"; }
};

struct Reading {
    std::vector<std::string> pieces;
    std::optional<foundation::Error> error;
    // fractionHandedOver after each piece, as the progress handler heard it.
    std::vector<double> fractions;
};

Reading readAll(KSIndexTextStream& stream) {
    Reading reading;
    stream.setProgressHandler([&](double fraction) { reading.fractions.push_back(fraction); });
    while (true) {
        auto piece = stream.nextPiece();
        if (!piece) {
            reading.error = piece.error();
            return reading;
        }
        if (!*piece)
            return reading;
        reading.pieces.push_back(std::move(**piece));
    }
}

std::string joined(const std::vector<std::string>& pieces) {
    std::string text;
    for (const auto& piece : pieces)
        text += piece;
    return text;
}

foundation::Status success() {
    return foundation::Success{};
}

TEST(KSIndexTextStream, PiecesEndWhereStanzasEndAndMakeUpTheText) {
    const auto text = largeIndex();
    for (const auto form : {CompressionForm::Xz, CompressionForm::Plain}) {
        const Download download(form == CompressionForm::Xz ? xz(text) : text);
        const auto list = download.path() + ".list";
        {
            std::string written;
            KSIndexTextStream stream(
                download, form, text.size(), download.textFile(), [&](const std::string& textFile) {
                    written = foundation::FileManager::readText(textFile).valueOr("");
                    return foundation::FileManager::moveItem(textFile, list);
                });
            const auto reading = readAll(stream);
            ASSERT_FALSE(reading.error) << reading.error->localizedDescription();
            EXPECT_TRUE(stream.finish());
            EXPECT_GT(reading.pieces.size(), 2u);
            for (std::size_t i = 0; i + 1 < reading.pieces.size(); ++i)
                EXPECT_EQ(StanzaReader::endOfLastStanza(reading.pieces[i]),
                          reading.pieces[i].size());
            EXPECT_EQ(joined(reading.pieces), text);
            ASSERT_EQ(reading.fractions.size(), reading.pieces.size());
            EXPECT_TRUE(std::ranges::is_sorted(reading.fractions));
            EXPECT_LT(reading.fractions.front(), 1.0);
            EXPECT_EQ(reading.fractions.back(), 1.0);
            EXPECT_EQ(written, text) << "the finisher finds the whole text in the file";
            // Read again from the file the finisher moved away.
            EXPECT_EQ(stream.textAt(1000, 2000).valueOr(""), text.substr(1000, 2000));
            EXPECT_EQ(stream.textAt(text.size() - 10, 100).valueOr(""),
                      text.substr(text.size() - 10));
        }
        EXPECT_EQ(foundation::FileManager::readText(list).valueOr(""), text);
        EXPECT_FALSE(foundation::FileManager::fileExists(download.textFile()));
        (void)foundation::FileManager::removeItem(list);
    }
}

TEST(KSIndexTextStream, DataThatIsNoIndexFailsAndIsNotFinished) {
    auto text = largeIndex();
    auto binary = text;
    binary[binary.size() - 100] = '\0';
    auto compressed = xz(text);
    compressed.resize(compressed.size() * 3 / 4);
    const std::string page = "<html><body>Moved: see our new site</body></html>\n";
    struct Case {
        const char* what;
        std::string data;
        CompressionForm form;
        std::size_t limit;
        std::string domain;
        long code;
    };
    const std::vector<Case> cases = {
        {"binary", binary, CompressionForm::Plain, text.size(), KSTaskError::kDomain,
         KSTaskError::kMalformedIndex},
        {"a web page", xz(page), CompressionForm::Xz, text.size(), KSTaskError::kDomain,
         KSTaskError::kMalformedIndex},
        {"cut short", compressed, CompressionForm::Xz, text.size(), kDecompressionErrorDomain,
         kDecompressionTruncated},
        {"too large", xz(text), CompressionForm::Xz, text.size() - 1, kDecompressionErrorDomain,
         kDecompressionTooLarge},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        bool finished = false;
        const Download download(test.data);
        {
            KSIndexTextStream stream(download, test.form, test.limit, download.textFile(),
                                     [&](const auto&) {
                                         finished = true;
                                         return success();
                                     });
            const auto reading = readAll(stream);
            ASSERT_TRUE(reading.error);
            EXPECT_EQ(reading.error->domain, test.domain);
            EXPECT_EQ(reading.error->code, test.code);
            const auto outcome = stream.finish();
            ASSERT_FALSE(outcome);
            EXPECT_EQ(outcome.error().code, test.code);
            EXPECT_FALSE(finished);
        }
        EXPECT_FALSE(foundation::FileManager::fileExists(download.textFile()));
    }

    // A repository without packages publishes an empty index, which is one.
    const Download blank(xz("\n \n"));
    KSIndexTextStream empty(blank, CompressionForm::Xz, 100, blank.textFile());
    EXPECT_FALSE(readAll(empty).error);
    EXPECT_TRUE(empty.finish());
}

TEST(KSIndexTextStream, TheFinishersFailureIsTheOutcomeAndAStreamLeftEarlyStops) {
    const auto text = largeIndex();
    const Download plain(text);
    {
        KSIndexTextStream failing(
            plain, CompressionForm::Plain, text.size(), plain.textFile(), [](const auto&) {
                return foundation::Status(
                    KSTaskError::make(KSTaskError::kStorage, "the disk is full"));
            });
        EXPECT_FALSE(readAll(failing).error) << "the text itself was an index";
        const auto outcome = failing.finish();
        ASSERT_FALSE(outcome);
        EXPECT_EQ(outcome.error().code, KSTaskError::kStorage);
    }
    EXPECT_FALSE(foundation::FileManager::fileExists(plain.textFile())) << "nobody took it";

    // A text file that cannot be written fails the stream as the disk's error.
    KSIndexTextStream unwritable(plain, CompressionForm::Plain, text.size(),
                                 plain.path() + "/not a folder/text", [](const auto&) {
                                     ADD_FAILURE() << "finished without a text";
                                     return success();
                                 });
    const auto reading = readAll(unwritable);
    ASSERT_TRUE(reading.error);
    EXPECT_EQ(reading.error->domain, foundation::FileManager::kErrorDomain);
    EXPECT_FALSE(unwritable.finish());

    const Download large(xz(text + text + text));
    KSIndexTextStream left(large, CompressionForm::Xz, 3 * text.size(), large.textFile());
    ASSERT_TRUE(left.nextPiece());
}

}  // namespace
}  // namespace corvane::testing
