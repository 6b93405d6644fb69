#include "framework/compression/DataCompression.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <span>
#include <string>

#include "foundation/FileManager.h"
#include "framework/RunCommand.h"
#include "framework/TemporaryFile.h"

namespace corvane {
namespace {

std::string sampleIndex() {
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        const std::string id = std::to_string(i);
        text += "Package: com.example.tweak" + id + "\nVersion: 1." + id +
                "-1\nArchitecture: iphoneos-arm\nDescription: Tweak number " + id +
                "\n more about it\n\n";
    }
    return text;
}

std::string compressed(const std::string& tool, const std::string& text) {
    const auto result = testing::runCommand({tool, "-c"}, text);
    EXPECT_EQ(result.exitStatus, 0) << tool << ": " << result.errors;
    return result.output;
}

std::span<const std::uint8_t> bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string text(const foundation::Bytes& data) {
    return std::string(data.begin(), data.end());
}

struct Form {
    const char* tool;
    CompressionForm form;
};
constexpr Form kForms[] = {{"gzip", CompressionForm::Gzip},
                           {"bzip2", CompressionForm::Bzip2},
                           {"xz", CompressionForm::Xz},
                           {"lzma", CompressionForm::Lzma}};

TEST(DataCompression, EveryFormGivesBackTheSameIndex) {
    const std::string index = sampleIndex();
    EXPECT_EQ(detectCompressionForm(bytes(index)), CompressionForm::Plain);
    const auto plain = decompressedData(bytes(index));
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(text(*plain), index);
    for (const auto& form : kForms) {
        SCOPED_TRACE(form.tool);
        const std::string data = compressed(form.tool, index);
        EXPECT_EQ(detectCompressionForm(bytes(data)), form.form);
        const auto stated = decompressedData(bytes(data), form.form);
        ASSERT_TRUE(stated.ok()) << stated.error().localizedDescription();
        EXPECT_EQ(text(*stated), index);
        const auto detected = decompressedData(bytes(data));
        ASSERT_TRUE(detected.ok());
        EXPECT_EQ(text(*detected), index);
    }
}

TEST(DataCompression, ConcatenatedStreamsAreReadWhole) {
    const std::string first = "Package: first\n\n";
    const std::string second = "Package: second\n";
    for (const auto& form : kForms) {
        if (form.form == CompressionForm::Lzma)
            continue;  // the .lzma format has no concatenation
        SCOPED_TRACE(form.tool);
        const auto joined = decompressedData(
            bytes(compressed(form.tool, first) + compressed(form.tool, second)), form.form);
        ASSERT_TRUE(joined.ok()) << joined.error().localizedDescription();
        EXPECT_EQ(text(*joined), first + second);
    }
}

TEST(DataCompression, TruncatedDamagedAndMislabelledDataFailCleanly) {
    const std::string index = sampleIndex();
    for (const auto& form : kForms) {
        SCOPED_TRACE(form.tool);
        const std::string data = compressed(form.tool, index);
        for (std::size_t length : {data.size() / 2, data.size() - 1}) {
            const auto cut = decompressedData(bytes(data.substr(0, length)), form.form);
            ASSERT_FALSE(cut.ok()) << length;
            EXPECT_EQ(cut.error().domain, kDecompressionErrorDomain);
            EXPECT_EQ(cut.error().code, kDecompressionTruncated) << length;
        }
        std::string damaged = data;
        for (std::size_t i = data.size() / 3; i < data.size() / 3 + 64; ++i)
            damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
        const auto broken = decompressedData(bytes(damaged), form.form);
        ASSERT_FALSE(broken.ok());
        EXPECT_EQ(broken.error().code, kDecompressionCorrupt);
        const auto mislabelled = decompressedData(bytes(index), form.form);
        ASSERT_FALSE(mislabelled.ok());
        EXPECT_EQ(mislabelled.error().code, kDecompressionCorrupt);
        EXPECT_FALSE(decompressedData(bytes(""), form.form).ok());
    }
}

TEST(DataCompression, OutputBeyondTheLimitIsAnError) {
    const std::string zeros(8 << 20, '\0');
    for (const auto& form : kForms) {
        SCOPED_TRACE(form.tool);
        const std::string data = compressed(form.tool, zeros);
        const auto capped = decompressedData(bytes(data), form.form, 1 << 20);
        ASSERT_FALSE(capped.ok());
        EXPECT_EQ(capped.error().code, kDecompressionTooLarge);
        const auto justBelow = decompressedData(bytes(data), form.form, zeros.size() - 1);
        ASSERT_FALSE(justBelow.ok());
        EXPECT_EQ(justBelow.error().code, kDecompressionTooLarge);
        const auto exact = decompressedData(bytes(data), form.form, zeros.size());
        ASSERT_TRUE(exact.ok()) << exact.error().localizedDescription();
        EXPECT_EQ(exact->size(), zeros.size());
        const auto unlimited =
            decompressedData(bytes(data), form.form, std::numeric_limits<std::size_t>::max());
        ASSERT_TRUE(unlimited.ok()) << unlimited.error().localizedDescription();
        EXPECT_EQ(unlimited->size(), zeros.size());
    }
    const auto plain = decompressedData(bytes("Package: x\n"), CompressionForm::Plain, 4);
    ASSERT_FALSE(plain.ok());
    EXPECT_EQ(plain.error().code, kDecompressionTooLarge);
}

// A refresh stores the output while the rest is decoded, shows how far the input has been read,
// and stops the decoder when it gives up.
TEST(DataCompression, OutputComesInPiecesUntilTheConsumerStops) {
    const std::string text(3 << 20, 'x');
    for (const auto& form :
         {Form{"cat", CompressionForm::Plain}, kForms[0], kForms[1], kForms[2], kForms[3]}) {
        SCOPED_TRACE(form.tool);
        const std::string data =
            form.form == CompressionForm::Plain ? text : compressed(form.tool, text);
        std::size_t pieces = 0, total = 0, read = 0;
        const auto whole =
            decompressData(bytes(data), form.form, text.size(),
                           [&](std::span<const std::uint8_t> piece, std::size_t inputRead) {
                               ++pieces;
                               total += piece.size();
                               EXPECT_GE(inputRead, read);
                               read = inputRead;
                               return true;
                           });
        EXPECT_TRUE(whole);
        EXPECT_GT(pieces, 1u);
        EXPECT_EQ(total, text.size());
        EXPECT_EQ(read, data.size()) << "all of the input was read by the last piece";

        pieces = 0;
        const auto stopped = decompressData(
            bytes(data), form.form, text.size(),
            [&](std::span<const std::uint8_t>, std::size_t) { return ++pieces < 2; });
        ASSERT_FALSE(stopped);
        EXPECT_EQ(stopped.error().code, kDecompressionStopped);
        EXPECT_EQ(pieces, 2u);
    }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Text that compresses badly, so that even its compressed forms span many reads of a file.
std::string hardToCompress(std::size_t size) {
    std::mt19937 random(11);
    std::string text;
    while (text.size() < size)
        text += "Package: p" + std::to_string(random()) + "\nSHA256: " + std::to_string(random()) +
                std::to_string(random()) + std::to_string(random()) + "\n\n";
    return text;
}

std::optional<foundation::Error> failureOf(const foundation::Status& status) {
    return status ? std::nullopt : std::optional(status.error());
}

// A refresh decompresses the index from the file it was downloaded into, never holding it whole:
// the outcome must not depend on where the reads of the file fall.
TEST(DataCompression, AFileGivesWhatItsBytesGive) {
    const auto index = hardToCompress(std::size_t{1} << 20);
    for (const auto& form :
         {Form{"cat", CompressionForm::Plain}, kForms[0], kForms[1], kForms[2], kForms[3]}) {
        SCOPED_TRACE(form.tool);
        auto data = form.form == CompressionForm::Plain ? index : compressed(form.tool, index);
        auto expected = index;
        // Concatenated, where the form allows it.
        if (form.form != CompressionForm::Lzma && form.form != CompressionForm::Plain) {
            data += compressed(form.tool, "Package: last\n");
            expected += "Package: last\n";
        }
        const testing::TemporaryFile file(data);
        std::string output;
        std::size_t read = 0;
        const auto whole = decompressFile(
            file.path(), form.form, std::numeric_limits<std::size_t>::max(),
            [&](std::span<const std::uint8_t> piece, std::size_t inputRead) {
                output.append(reinterpret_cast<const char*>(piece.data()), piece.size());
                read = inputRead;
                return true;
            });
        ASSERT_TRUE(whole) << whole.error().localizedDescription();
        EXPECT_EQ(output, expected);
        EXPECT_EQ(read, data.size());

        // Cut anywhere, at a read's end included, the file fails as the bytes do.
        for (const std::size_t length : {std::size_t{128} << 10, data.size() / 2 + 1}) {
            const auto part = data.substr(0, length);
            const testing::TemporaryFile cut(part);
            const auto fromFile = decompressFile(cut.path(), form.form, index.size(),
                                                 [](auto, std::size_t) { return true; });
            const auto fromMemory = decompressData(bytes(part), form.form, index.size(),
                                                   [](auto, std::size_t) { return true; });
            EXPECT_EQ(failureOf(fromFile).has_value(), failureOf(fromMemory).has_value());
            if (!fromFile && !fromMemory) {
                EXPECT_EQ(fromFile.error().code, fromMemory.error().code) << length;
            }
        }
    }

    const auto missing = decompressFile("/nonexistent/Packages.xz", CompressionForm::Xz, 100,
                                        [](auto, std::size_t) { return true; });
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().domain, foundation::FileManager::kErrorDomain);
    EXPECT_EQ(missing.error().code, foundation::FileManager::kReadNoSuchFile);
}

}  // namespace
}  // namespace corvane
