#include "framework/tasks/KSIndexTextStream.h"

#include <fcntl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "foundation/FileManager.h"
#include "framework/debian/StanzaReader.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane {

KSIndexTextStream::KSIndexTextStream(std::string compressedFile, CompressionForm form,
                                     std::size_t limit, std::string textFile, Finisher finisher)
    : compressedFile_(std::move(compressedFile)),
      compressedSize_(foundation::FileManager::fileSize(compressedFile_).value_or(0)),
      textFile_(std::move(textFile)),
      text_(foundation::FileHandle::forWritingAtPath(textFile_)),
      finisher_(std::move(finisher)),
      thread_([this, form, limit] { run(form, limit); }) {}

KSIndexTextStream::~KSIndexTextStream() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    // Nothing is there once the finisher has moved the text away.
    (void)foundation::FileManager::removeItem(textFile_);
}

foundation::Result<std::optional<std::string>> KSIndexTextStream::nextPiece() {
    std::uint64_t from = 0, to = 0;
    {
        std::unique_lock lock(mutex_);
        delivered_.wait(lock, [this] { return handedOver_ < pieceEnds_.size() || ended_; });
        if (error_)
            return *error_;
        if (handedOver_ == pieceEnds_.size())
            return std::optional<std::string>();
        from = handedOver_ == 0 ? 0 : pieceEnds_[handedOver_ - 1];
        to = pieceEnds_[handedOver_++];
    }
    auto piece = textAt(from, to - from);
    FOUNDATION_RETURN_IF_ERROR(piece);
    if (progress_)
        progress_(fractionHandedOver());
    return std::optional(std::move(*piece));
}

foundation::Result<std::string> KSIndexTextStream::textAt(std::uint64_t offset,
                                                          std::size_t length) const {
    FOUNDATION_RETURN_IF_ERROR(text_);
    return text_->readText(offset, length);
}

bool KSIndexTextStream::releasedDecoderMemory() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

foundation::Status KSIndexTextStream::finish() {
    if (thread_.joinable())
        thread_.join();
    if (error_)
        return *error_;
    return finished_;
}

double KSIndexTextStream::fractionHandedOver() {
    std::lock_guard lock(mutex_);
    if (handedOver_ == 0 || compressedSize_ == 0)
        return 0;
    return static_cast<double>(piecesInputRead_[handedOver_ - 1]) /
           static_cast<double>(compressedSize_);
}

void KSIndexTextStream::run(CompressionForm form, std::size_t limit) {
    auto status = text_ ? decompressFile(compressedFile_, form, limit,
                                         [this](std::span<const std::uint8_t> bytes,
                                                std::size_t read) { return take(bytes, read); })
                        : foundation::Status(text_.error());
    if (status && !current_.empty() && !deliver(current_))
        return;  // deliver() has ended the stream with its reason
    if (status && sawText_ && !sawPackage_)
        status = KSTaskError::make(KSTaskError::kMalformedIndex, "no package in the index");
    end(status);
    if (!status)
        return;
    // While the reader stores the last pieces.
    finished_ = text_->synchronizeFile();
    if (finished_ && finisher_)
        finished_ = finisher_(textFile_);
}

// Keeps what comes after the last whole stanza for the next piece.
bool KSIndexTextStream::take(std::span<const std::uint8_t> bytes, std::size_t inputRead) {
    if (stopping_)
        return false;
    inputRead_ = inputRead;
    current_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (current_.size() < kPieceSize)
        return true;
    const auto cut = StanzaReader::endOfLastStanza(current_, scanned_);
    if (cut == std::string::npos) {
        scanned_ = current_.size();
        return true;
    }
    const bool delivered = deliver(current_.substr(0, cut));
    current_.erase(0, cut);
    scanned_ = 0;
    return delivered;
}

bool KSIndexTextStream::deliver(const std::string& piece) {
    if (std::memchr(piece.data(), '\0', piece.size())) {
        end(KSTaskError::make(KSTaskError::kMalformedIndex, "binary data, not an index"));
        return false;
    }
    inspect(piece);
    if (auto written = text_->writeData(piece); !written) {
        end(written.error());
        return false;
    }
    startWritingBack(piece.size());
    std::lock_guard lock(mutex_);
    pieceEnds_.push_back((pieceEnds_.empty() ? 0 : pieceEnds_.back()) + piece.size());
    piecesInputRead_.push_back(inputRead_);
    delivered_.notify_one();
    return true;
}

// The text must be on the disk before it replaces APT's list: its pages are sent on their way as
// they are written, so that the wait at the end is for the last piece rather than for tens of
// megabytes. A hint only: the synchronisation at the end is what counts.
void KSIndexTextStream::startWritingBack(std::size_t pieceSize) const {
    const auto end = pieceEnds_.empty() ? 0 : pieceEnds_.back();
    (void)::sync_file_range(text_->fileDescriptor(), static_cast<off_t>(end),
                            static_cast<off_t>(pieceSize), SYNC_FILE_RANGE_WRITE);
}

// An empty index is a repository with no packages; text without a single package is not an
// index at all. One stanza with a package settles it, so later pieces are not read twice.
void KSIndexTextStream::inspect(std::string_view piece) {
    if (!sawText_)
        sawText_ = std::ranges::any_of(
            piece, [](char c) { return !std::isspace(static_cast<unsigned char>(c)); });
    StanzaReader reader(piece);
    while (!sawPackage_) {
        const auto stanza = reader.next();
        if (!stanza)
            break;
        sawPackage_ = stanza->contains("Package");
    }
}

void KSIndexTextStream::end(foundation::Status status) {
    std::lock_guard lock(mutex_);
    // The first reason stands: a piece refused stops the decompression, which then fails too.
    if (!status && !error_)
        error_ = status.error();
    ended_ = true;
    delivered_.notify_one();
}

}  // namespace corvane
