#include "framework/tasks/KSIndexTextStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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

// The downloaded data the stream reads.
class Download : public TemporaryFile {
  public:
    using TemporaryFile::TemporaryFile;
    operator std::string() const { return path(); }
};

struct Reading {
    std::vector<std::string> pieces;
    std::optional<foundation::Error> error;
    // fractionHandedOver after each piece.
    std::vector<double> fractions;
};

Reading readAll(KSIndexTextStream& stream) {
    Reading reading;
    while (true) {
        auto piece = stream.next();
        if (!piece) {
            reading.error = piece.error();
            return reading;
        }
        if (!*piece)
            return reading;
        reading.pieces.emplace_back(**piece);
        reading.fractions.push_back(stream.fractionHandedOver());
    }
}

std::string joined(const std::vector<std::string>& pieces) {
    std::string text;
    for (const auto& piece : pieces)
        text += piece;
    return text;
}

TEST(KSIndexTextStream, PiecesEndWhereStanzasEndAndMakeUpTheText) {
    const auto text = largeIndex();
    for (const auto form : {CompressionForm::Xz, CompressionForm::Plain}) {
        std::string written;
        const Download download(form == CompressionForm::Xz ? xz(text) : text);
        KSIndexTextStream stream(download, form, text.size(),
                                 [&](const KSIndexTextStream::Pieces& pieces) {
                                     for (const auto& piece : pieces)
                                         written += piece;
                                     return foundation::Status(foundation::Success{});
                                 });
        const auto reading = readAll(stream);
        ASSERT_FALSE(reading.error) << reading.error->localizedDescription();
        EXPECT_TRUE(stream.finish());
        EXPECT_GT(reading.pieces.size(), 2u);
        for (std::size_t i = 0; i + 1 < reading.pieces.size(); ++i)
            EXPECT_EQ(StanzaReader::endOfLastStanza(reading.pieces[i]), reading.pieces[i].size());
        EXPECT_EQ(joined(reading.pieces), text);
        EXPECT_TRUE(std::ranges::is_sorted(reading.fractions));
        EXPECT_LT(reading.fractions.front(), 1.0);
        EXPECT_EQ(reading.fractions.back(), 1.0);
        EXPECT_EQ(written, text) << "the finisher sees the whole text";
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
        KSIndexTextStream stream(download, test.form, test.limit, [&](const auto&) {
            finished = true;
            return foundation::Status(foundation::Success{});
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

    // A repository without packages publishes an empty index, which is one.
    const Download blank(xz("\n \n"));
    KSIndexTextStream empty(blank, CompressionForm::Xz, 100);
    EXPECT_FALSE(readAll(empty).error);
    EXPECT_TRUE(empty.finish());
}

TEST(KSIndexTextStream, TheFinishersFailureIsTheOutcomeAndAStreamLeftEarlyStops) {
    const auto text = largeIndex();
    const Download plain(text);
    KSIndexTextStream failing(plain, CompressionForm::Plain, text.size(), [](const auto&) {
        return foundation::Status(KSTaskError::make(KSTaskError::kStorage, "the disk is full"));
    });
    EXPECT_FALSE(readAll(failing).error) << "the text itself was an index";
    const auto outcome = failing.finish();
    ASSERT_FALSE(outcome);
    EXPECT_EQ(outcome.error().code, KSTaskError::kStorage);

    // A reader that gives up after one piece (its import failed) must not wait for the rest.
    const Download large(xz(text + text + text));
    KSIndexTextStream left(large, CompressionForm::Xz, 3 * text.size());
    ASSERT_TRUE(left.next());
}

}  // namespace
}  // namespace corvane::testing
