#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "foundation/Result.h"
#include "foundation/Value.h"

namespace corvane {

// The forms a repository publishes its indexes in.
enum class CompressionForm { Plain, Gzip, Bzip2, Xz, Lzma };

inline constexpr const char* kDecompressionErrorDomain = "CorvaneDecompressionErrorDomain";
enum DecompressionErrorCode : long {
    kDecompressionCorrupt = 1,    // not data of the stated form, or damaged
    kDecompressionTruncated = 2,  // ends before its compressed stream does
    kDecompressionTooLarge = 3,   // would grow beyond the caller's limit
    kDecompressionFailed = 4,     // the library could not run (memory)
    kDecompressionStopped = 5,    // the consumer of the output stopped it
};

inline constexpr std::size_t kDefaultDecompressedSizeLimit = std::size_t{256} << 20;

// The form that the data's first bytes announce; Plain when none does. A .lzma file has no magic
// number: it is recognised by the properties byte that every common encoder writes (0x5D) and a
// plausible uncompressed size.
CompressionForm detectCompressionForm(std::span<const std::uint8_t> data);

// Takes each piece of output as the decoder produces it, with the count of input bytes read so
// far (for progress); false stops the decompression.
using DecompressedDataConsumer =
    std::function<bool(std::span<const std::uint8_t> output, std::size_t inputRead)>;

// Decompresses the data in the stated form piece by piece, so that the output can be used while
// the rest is decoded; the pieces are cut anywhere. Output beyond limit bytes is an error, and
// what was handed over until then is no whole text.
foundation::Status decompressData(std::span<const std::uint8_t> data, CompressionForm form,
                                  std::size_t limit, const DecompressedDataConsumer& consume);

// The same for the data in a file, read a piece at a time so that it is never in memory whole. A
// file that cannot be read fails with FileManager's error.
foundation::Status decompressFile(const std::string& path, CompressionForm form, std::size_t limit,
                                  const DecompressedDataConsumer& consume);

// The data decompressed from the stated form (Plain gives a copy). Output beyond limit bytes is an
// error rather than growth without end; concatenated gzip members, bzip2 and xz streams are read
// one after the other.
foundation::Result<foundation::Bytes> decompressedData(
    std::span<const std::uint8_t> data, CompressionForm form,
    std::size_t limit = kDefaultDecompressedSizeLimit);

// The same for the form that detectCompressionForm finds.
foundation::Result<foundation::Bytes> decompressedData(
    std::span<const std::uint8_t> data, std::size_t limit = kDefaultDecompressedSizeLimit);

}  // namespace corvane
