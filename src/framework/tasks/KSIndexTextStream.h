#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "foundation/Result.h"
#include "framework/categories/DataCompression.h"

namespace corvane {

// The text of a downloaded Packages index, decompressed from its file on a thread of its own,
// which must stay until the stream is gone or has finished, and handed over
// in pieces that each end where a stanza ends, so that the stanzas of one piece can be stored
// while the next is decompressed. Every piece stays in memory until the stream is gone, so views
// of them stay valid.
//
// The text must turn out to be an index: a NUL byte (binary data) or text in which no stanza
// names a package (an error page, say) fails it, as damaged or truncated data does. These are
// known only once the text has been read, so a reader that acted on the pieces must be able to
// take it all back.
class KSIndexTextStream {
  public:
    using Pieces = std::deque<std::string>;
    // Runs on the stream's thread once the whole text has been read and found an index, while
    // the reader of the pieces goes on: writing the text into files, say.
    using Finisher = std::function<foundation::Status(const Pieces& pieces)>;

    KSIndexTextStream(std::string compressedFile, CompressionForm form, std::size_t limit,
                      Finisher finisher = {});
    // Stops the decompression, if it is still going, and waits for the thread.
    ~KSIndexTextStream();
    KSIndexTextStream(const KSIndexTextStream&) = delete;
    KSIndexTextStream& operator=(const KSIndexTextStream&) = delete;

    // The next piece, waiting for it; nullopt after the last; the error when the data is no
    // index.
    foundation::Result<std::optional<std::string_view>> next();
    // Waits for the finisher and gives its outcome; the stream's error when it failed.
    foundation::Status finish();
    // The whole text; only once finish() has found it an index.
    const Pieces& pieces() const { return pieces_; }
    // How much of the compressed data the pieces handed over so far came from, from 0 to 1.
    double fractionHandedOver();

  private:
    // Text pieces of about this size: big enough that handing one over costs nothing, small
    // enough that storing starts soon after the download.
    static constexpr std::size_t kPieceSize = std::size_t{256} << 10;

    void run(CompressionForm form, std::size_t limit);
    bool take(std::span<const std::uint8_t> bytes, std::size_t inputRead);
    bool deliver(std::string piece);
    void inspect(std::string_view piece);
    void end(foundation::Status status);

    const std::string compressedFile_;
    const std::size_t compressedSize_;
    Finisher finisher_;
    std::atomic<bool> stopping_ = false;

    // Used by the stream's thread only.
    std::string current_;
    std::size_t scanned_ = 0;
    std::size_t inputRead_ = 0;
    bool sawText_ = false;
    bool sawPackage_ = false;

    std::mutex mutex_;
    std::condition_variable delivered_;
    Pieces pieces_;
    // For each piece, the input bytes read by the time it was cut.
    std::vector<std::size_t> piecesInputRead_;
    std::size_t handedOver_ = 0;
    bool ended_ = false;
    std::optional<foundation::Error> error_;
    foundation::Status finished_ = foundation::Success{};

    std::thread thread_;
};

}  // namespace corvane
