#include "framework/compression/DataCompression.h"

#define ZLIB_CONST
#include <bzlib.h>
#include <lzma.h>
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include "foundation/FileHandle.h"

namespace corvane {

namespace {

constexpr std::size_t kFirstOutputSize = std::size_t{64} << 10;
// What an xz or lzma header may ask for its dictionary; xz -9 needs 65 MiB.
constexpr std::uint64_t kDecoderMemoryLimit = std::uint64_t{128} << 20;

foundation::Error decompressionError(DecompressionErrorCode code, const char* form) {
    std::string description;
    switch (code) {
        case kDecompressionCorrupt:
            description = std::string("The data is damaged or not ") + form + " data.";
            break;
        case kDecompressionTruncated:
            description = std::string("The ") + form + " data ends before its end.";
            break;
        case kDecompressionTooLarge:
            description = std::string("The ") + form + " data decompresses beyond its size limit.";
            break;
        case kDecompressionFailed:
            description = std::string("The ") + form + " data could not be decompressed.";
            break;
        case kDecompressionStopped:
            description = std::string("The decompression of the ") + form + " data was stopped.";
            break;
    }
    return foundation::Error::make(kDecompressionErrorDomain, code, std::move(description));
}

// Output in one reused buffer, handed to the consumer each time it fills. The total is never let
// beyond one byte past the limit: reaching that byte is how a decoder shows it would go beyond.
class ChunkedOutput {
  public:
    ChunkedOutput(std::size_t limit, const DecompressedDataConsumer& consume)
        : limit_(std::min(limit, std::numeric_limits<std::size_t>::max() - 1)),
          consume_(consume),
          buffer_(kChunkSize) {}

    // Makes room for more output; false once the limit is passed or the consumer has stopped.
    bool makeRoom() {
        if (overLimit() || stopped_)
            return false;
        if (filled_ == buffer_.size())
            flush();
        return !stopped_;
    }
    std::uint8_t* next() { return buffer_.data() + filled_; }
    std::size_t available() const {
        return std::min(buffer_.size() - filled_, limit_ + 1 - produced_);
    }
    void advance(std::size_t count) {
        filled_ += count;
        produced_ += count;
    }
    void setInputRead(std::size_t count) { inputRead_ = count; }
    bool overLimit() const { return produced_ > limit_; }
    bool stopped() const { return stopped_; }
    void flush() {
        if (filled_ > 0 && !stopped_)
            stopped_ =
                !consume_(std::span<const std::uint8_t>(buffer_.data(), filled_), inputRead_);
        filled_ = 0;
    }

    // Plain data goes to the consumer in pieces of the same size.
    static constexpr std::size_t kChunkSize = std::size_t{256} << 10;

  private:
    std::size_t limit_ = 0;
    const DecompressedDataConsumer& consume_;
    foundation::Bytes buffer_;
    std::size_t filled_ = 0;
    std::size_t produced_ = 0;
    std::size_t inputRead_ = 0;
    bool stopped_ = false;
};

// Input whole in memory, or read from a file a piece at a time, so that a large download need
// not be held whole.
class CompressedInput {
  public:
    explicit CompressedInput(std::span<const std::uint8_t> data) : pending_(data) {}
    explicit CompressedInput(foundation::FileHandle& file) : file_(&file) {}

    // The bytes not consumed yet, reading the next piece of the file when none are left; empty
    // only at the end of the input, or when the file could not be read.
    std::span<const std::uint8_t> pending() {
        if (pending_.empty() && file_ && !ended_)
            readPiece();
        return pending_;
    }
    void consume(std::size_t count) {
        pending_ = pending_.subspan(count);
        consumed_ += count;
    }
    std::size_t consumed() const { return consumed_; }
    // Nothing is left to read; an input that could not be read ends too.
    bool atEnd() { return pending().empty(); }
    // Nothing is left to read beyond the bytes pending.
    bool lastPiecePending() const { return !file_ || ended_; }
    const std::optional<foundation::Error>& failure() const { return failure_; }

  private:
    static constexpr std::size_t kPieceSize = std::size_t{64} << 10;

    void readPiece() {
        auto piece = file_->readDataUpToLength(kPieceSize);
        if (!piece) {
            failure_ = piece.error();
            ended_ = true;
            return;
        }
        buffer_ = std::move(*piece);
        ended_ = buffer_.size() < kPieceSize;
        pending_ = buffer_;
    }

    foundation::FileHandle* file_ = nullptr;
    foundation::Bytes buffer_;
    std::span<const std::uint8_t> pending_;
    std::size_t consumed_ = 0;
    bool ended_ = false;
    std::optional<foundation::Error> failure_;
};

template <typename Length>
Length clamped(std::size_t size) {
    return static_cast<Length>(std::min<std::size_t>(size, std::numeric_limits<Length>::max()));
}

// The end of a decoding that went well as far as the decoder knows: what is left goes to the
// consumer, which may still stop it.
foundation::Status finished(ChunkedOutput& output, const char* form) {
    if (output.overLimit())
        return decompressionError(kDecompressionTooLarge, form);
    output.flush();
    if (output.stopped())
        return decompressionError(kDecompressionStopped, form);
    return foundation::Success{};
}

// A failure to read the input is the outcome, whatever the decoder made of the input cut short.
std::optional<foundation::Status> unreadInput(const CompressedInput& input) {
    if (input.failure())
        return foundation::Status(*input.failure());
    return std::nullopt;
}

foundation::Status inflateGzip(CompressedInput& input, ChunkedOutput& output) {
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK)
        return decompressionError(kDecompressionFailed, "gzip");
    int status = Z_OK;
    while (output.makeRoom()) {
        const auto pending = input.pending();
        stream.next_in = pending.data();
        stream.avail_in = clamped<uInt>(pending.size());
        stream.next_out = output.next();
        stream.avail_out = clamped<uInt>(output.available());
        const uInt offeredIn = stream.avail_in;
        const uInt offeredOut = stream.avail_out;
        status = inflate(&stream, Z_NO_FLUSH);
        input.consume(offeredIn - stream.avail_in);
        output.setInputRead(input.consumed());
        output.advance(offeredOut - stream.avail_out);
        if (status == Z_STREAM_END) {
            if (input.atEnd())
                break;
            inflateReset(&stream);  // the next member of a concatenated file
        } else if (status != Z_OK && status != Z_BUF_ERROR) {
            break;
        } else if (status == Z_BUF_ERROR && input.atEnd()) {
            break;
        }
    }
    inflateEnd(&stream);
    if (auto failed = unreadInput(input))
        return *failed;
    if (status == Z_STREAM_END || output.overLimit() || output.stopped())
        return finished(output, "gzip");
    if (status == Z_MEM_ERROR)
        return decompressionError(kDecompressionFailed, "gzip");
    return decompressionError(
        status == Z_BUF_ERROR ? kDecompressionTruncated : kDecompressionCorrupt, "gzip");
}

foundation::Status decompressBzip2(CompressedInput& input, ChunkedOutput& output) {
    bz_stream stream{};
    if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK)
        return decompressionError(kDecompressionFailed, "bzip2");
    int status = BZ_OK;
    while (output.makeRoom()) {
        const auto pending = input.pending();
        // bzlib never writes through next_in; its declaration just lacks the const.
        stream.next_in = const_cast<char*>(reinterpret_cast<const char*>(pending.data()));
        stream.avail_in = clamped<unsigned>(pending.size());
        stream.next_out = reinterpret_cast<char*>(output.next());
        stream.avail_out = clamped<unsigned>(output.available());
        const unsigned offeredIn = stream.avail_in;
        const unsigned offeredOut = stream.avail_out;
        status = BZ2_bzDecompress(&stream);
        input.consume(offeredIn - stream.avail_in);
        output.setInputRead(input.consumed());
        output.advance(offeredOut - stream.avail_out);
        if (status == BZ_STREAM_END) {
            if (input.atEnd())
                break;
            BZ2_bzDecompressEnd(&stream);  // the next stream of a concatenated file
            stream = bz_stream{};
            if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK)
                return decompressionError(kDecompressionFailed, "bzip2");
        } else if (status != BZ_OK || (stream.avail_out > 0 && input.atEnd())) {
            break;  // an error, or all input read with room left: the stream was cut short
        }
    }
    BZ2_bzDecompressEnd(&stream);
    if (auto failed = unreadInput(input))
        return *failed;
    if (status == BZ_STREAM_END || output.overLimit() || output.stopped())
        return finished(output, "bzip2");
    if (status == BZ_MEM_ERROR)
        return decompressionError(kDecompressionFailed, "bzip2");
    return decompressionError(status == BZ_OK ? kDecompressionTruncated : kDecompressionCorrupt,
                              "bzip2");
}

foundation::Error lzmaError(lzma_ret status, const char* form) {
    switch (status) {
        case LZMA_BUF_ERROR:
            return decompressionError(kDecompressionTruncated, form);
        case LZMA_MEMLIMIT_ERROR:
            return decompressionError(kDecompressionTooLarge, form);
        case LZMA_MEM_ERROR:
            return decompressionError(kDecompressionFailed, form);
        default:
            return decompressionError(kDecompressionCorrupt, form);
    }
}

foundation::Status decompressLzma(CompressedInput& input, ChunkedOutput& output,
                                  CompressionForm form) {
    const char* name = form == CompressionForm::Xz ? "xz" : "lzma";
    lzma_stream stream = LZMA_STREAM_INIT;
    lzma_ret status = form == CompressionForm::Xz
                          ? lzma_stream_decoder(&stream, kDecoderMemoryLimit, LZMA_CONCATENATED)
                          : lzma_alone_decoder(&stream, kDecoderMemoryLimit);
    if (status != LZMA_OK)
        return decompressionError(kDecompressionFailed, name);
    while (status == LZMA_OK && output.makeRoom()) {
        const auto pending = input.pending();
        stream.next_in = pending.data();
        stream.avail_in = pending.size();
        stream.next_out = output.next();
        stream.avail_out = output.available();
        status = lzma_code(&stream, input.lastPiecePending() ? LZMA_FINISH : LZMA_RUN);
        input.consume(pending.size() - stream.avail_in);
        output.setInputRead(input.consumed());
        output.advance(output.available() - stream.avail_out);
    }
    lzma_end(&stream);
    if (auto failed = unreadInput(input))
        return *failed;
    if (status == LZMA_STREAM_END || output.overLimit() || output.stopped())
        return finished(output, name);
    return lzmaError(status, name);
}

// Plain text goes to the consumer as it is read, in pieces of at most the output's size.
foundation::Status passPlain(CompressedInput& input, std::size_t limit,
                             const DecompressedDataConsumer& consume) {
    for (auto pending = input.pending(); !pending.empty(); pending = input.pending()) {
        const auto piece = pending.first(std::min(ChunkedOutput::kChunkSize, pending.size()));
        if (piece.size() > limit - input.consumed())
            return decompressionError(kDecompressionTooLarge, "plain");
        input.consume(piece.size());
        if (!consume(piece, input.consumed()))
            return decompressionError(kDecompressionStopped, "plain");
    }
    if (auto failed = unreadInput(input))
        return *failed;
    return foundation::Success{};
}

foundation::Status decompress(CompressedInput& input, CompressionForm form, std::size_t limit,
                              const DecompressedDataConsumer& consume) {
    if (form == CompressionForm::Plain)
        return passPlain(input, limit, consume);
    ChunkedOutput output(limit, consume);
    if (form == CompressionForm::Gzip)
        return inflateGzip(input, output);
    if (form == CompressionForm::Bzip2)
        return decompressBzip2(input, output);
    return decompressLzma(input, output, form);
}

bool startsWith(std::span<const std::uint8_t> data, std::initializer_list<std::uint8_t> magic) {
    return data.size() >= magic.size() && std::equal(magic.begin(), magic.end(), data.begin());
}

// Properties byte 0x5D, and an uncompressed size that is unknown (all ones) or below 2^56.
bool looksLikeLzmaAlone(std::span<const std::uint8_t> data) {
    constexpr std::size_t kHeaderSize = 13;
    return data.size() >= kHeaderSize && data[0] == 0x5D && (data[12] == 0x00 || data[12] == 0xFF);
}

}  // namespace

CompressionForm detectCompressionForm(std::span<const std::uint8_t> data) {
    if (startsWith(data, {0x1F, 0x8B}))
        return CompressionForm::Gzip;
    if (startsWith(data, {'B', 'Z', 'h'}))
        return CompressionForm::Bzip2;
    if (startsWith(data, {0xFD, '7', 'z', 'X', 'Z', 0x00}))
        return CompressionForm::Xz;
    if (looksLikeLzmaAlone(data))
        return CompressionForm::Lzma;
    return CompressionForm::Plain;
}

foundation::Status decompressData(std::span<const std::uint8_t> data, CompressionForm form,
                                  std::size_t limit, const DecompressedDataConsumer& consume) {
    CompressedInput input(data);
    return decompress(input, form, limit, consume);
}

foundation::Status decompressFile(const std::string& path, CompressionForm form, std::size_t limit,
                                  const DecompressedDataConsumer& consume) {
    auto file = foundation::FileHandle::forReadingAtPath(path);
    FOUNDATION_RETURN_IF_ERROR(file);
    CompressedInput input(*file);
    return decompress(input, form, limit, consume);
}

foundation::Result<foundation::Bytes> decompressedData(std::span<const std::uint8_t> data,
                                                       CompressionForm form, std::size_t limit) {
    foundation::Bytes bytes;
    bytes.reserve(std::min(limit, std::max(kFirstOutputSize, data.size() * 4)));
    auto status =
        decompressData(data, form, limit, [&](std::span<const std::uint8_t> piece, std::size_t) {
            bytes.insert(bytes.end(), piece.begin(), piece.end());
            return true;
        });
    FOUNDATION_RETURN_IF_ERROR(status);
    return bytes;
}

foundation::Result<foundation::Bytes> decompressedData(std::span<const std::uint8_t> data,
                                                       std::size_t limit) {
    return decompressedData(data, detectCompressionForm(data), limit);
}

}  // namespace corvane
