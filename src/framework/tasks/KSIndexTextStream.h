#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "foundation/FileHandle.h"
#include "foundation/Result.h"
#include "framework/compression/DataCompression.h"
#include "framework/storage/KSRPackageIndexText.h"

namespace corvane {

// The text of a downloaded Packages index, decompressed from its file on a thread of its own
// into a text file, and handed over in pieces that each end where a stanza ends, read back from
// that file: the stanzas of one piece can be stored while the rest is decompressed, and no more
// than a few pieces of a text of tens of megabytes are in memory. The compressed file must stay
// until the stream has finished or is gone.
//
// The text must turn out to be an index: a NUL byte (binary data) or text in which no stanza
// names a package (an error page, say) fails it, as damaged or truncated data does. These are
// known only once the text has been read, so a reader that acted on the pieces must be able to
// take it all back.
class KSIndexTextStream : public KSRPackageIndexText {
  public:
    // Runs on the stream's thread once the whole text has been read, found an index and written
    // to the text file on disk, while the reader of the pieces goes on: it may move the file into
    // place, as the stream goes on reading the file it opened. Its failure, or the disk's, is
    // the outcome of finish().
    using Finisher = std::function<foundation::Status(const std::string& textFile)>;
    // On the reader's thread as each piece is handed over: fractionHandedOver().
    using Progress = std::function<void(double fraction)>;

    // textFile: where the text goes, replacing what is there; a text the finisher did not move
    // away goes with the stream.
    KSIndexTextStream(std::string compressedFile, CompressionForm form, std::size_t limit,
                      std::string textFile, Finisher finisher = {});
    // Stops the decompression, if it is still going, and waits for the thread.
    ~KSIndexTextStream() override;
    KSIndexTextStream(const KSIndexTextStream&) = delete;
    KSIndexTextStream& operator=(const KSIndexTextStream&) = delete;

    // Before the first piece is asked for.
    void setProgressHandler(Progress progress) { progress_ = std::move(progress); }

    // The next piece, waiting for it; nullopt after the last; the error when the data is no
    // index, or the text file cannot be written or read.
    foundation::Result<std::optional<std::string>> nextPiece() override;
    foundation::Result<std::string> textAt(std::uint64_t offset, std::size_t length) const override;
    // Once the whole text is decompressed.
    bool releasedDecoderMemory() const override;
    // Waits for the finisher and gives its outcome; the stream's error when it failed.
    foundation::Status finish();
    // How much of the compressed data the pieces handed over so far came from, from 0 to 1.
    double fractionHandedOver();

  private:
    // Text pieces of about this size: big enough that handing one over costs nothing, small
    // enough that storing starts soon after the download.
    static constexpr std::size_t kPieceSize = std::size_t{256} << 10;

    void run(CompressionForm form, std::size_t limit);
    bool take(std::span<const std::uint8_t> bytes, std::size_t inputRead);
    bool deliver(const std::string& piece);
    void inspect(std::string_view piece);
    void startWritingBack(std::size_t pieceSize) const;
    void end(foundation::Status status);

    const std::string compressedFile_;
    const std::size_t compressedSize_;
    const std::string textFile_;
    // Written by the stream's thread only, read at offsets by any.
    foundation::Result<foundation::FileHandle> text_;
    Finisher finisher_;
    Progress progress_;
    std::atomic<bool> stopping_ = false;

    // Used by the stream's thread only.
    std::string current_;
    std::size_t scanned_ = 0;
    std::size_t inputRead_ = 0;
    bool sawText_ = false;
    bool sawPackage_ = false;

    mutable std::mutex mutex_;
    std::condition_variable delivered_;
    // For each piece written, where it ends in the text, and the input bytes read by the time it
    // was cut.
    std::vector<std::uint64_t> pieceEnds_;
    std::vector<std::size_t> piecesInputRead_;
    std::size_t handedOver_ = 0;
    bool ended_ = false;
    std::optional<foundation::Error> error_;
    foundation::Status finished_ = foundation::Success{};

    std::thread thread_;
};

}  // namespace corvane
