#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "foundation/Result.h"
#include "framework/compression/DataCompression.h"
#include "framework/tasks/KSBlockingTransfer.h"

namespace corvane {

// Fetches a repository's Packages index, trying its five forms in a fixed order: xz, bzip2,
// gzip, lzma, plain. The smallest forms come first, so a repository that offers several costs
// the least transfer; plain text is the last resort. Each form that arrives is downloaded into a
// file, which goes to the reader, which decompresses and stores it; the file is removed after. A
// form that is missing (any HTTP status but 200 and 304), or that the reader finds no index (a
// decompression error or kMalformedIndex), gives way to the next; a failed connection ends the
// attempt at once, as the other forms would fail alike, and so does any other failure of the
// reader. A failure names each form tried with its own reason.
class KSPackagesIndexFetcher {
  public:
    struct Form {
        std::string_view fileName;
        CompressionForm compression;
    };
    static constexpr std::array<Form, 5> kForms = {{{"Packages.xz", CompressionForm::Xz},
                                                    {"Packages.bz2", CompressionForm::Bzip2},
                                                    {"Packages.gz", CompressionForm::Gzip},
                                                    {"Packages.lzma", CompressionForm::Lzma},
                                                    {"Packages", CompressionForm::Plain}}};
    static constexpr std::size_t kMaxDecompressedBytes = kDefaultDecompressedSizeLimit;

    // What the reader makes of a form's data, in the file it was downloaded into.
    using Reader = std::function<foundation::Status(const std::string& file, CompressionForm form)>;

    struct Index {
        // The server answered 304 to If-Modified-Since: nothing was read, nothing changed.
        bool notModified = false;
        std::string fileName;
        // The Last-Modified answer, to send back next time.
        std::optional<std::string> lastModified;
    };

    // downloadFile: where each form is downloaded; its folder must exist.
    KSPackagesIndexFetcher(KSBlockingTransfer& transfer, std::string downloadFile)
        : transfer_(transfer), downloadFile_(std::move(downloadFile)) {}

    // ifModifiedSince: an earlier Last-Modified answer. progress: 0 to 1 over each form's load.
    foundation::Result<Index> fetch(const std::string& location,
                                    const std::optional<std::string>& ifModifiedSince,
                                    const KSBlockingTransfer::Progress& progress,
                                    const Reader& read);

  private:
    // How a form that gave no index leaves the attempt.
    enum class End {
        tryNext,
        // Nothing answers: the other forms would fail alike.
        unreachable,
        // The reader failed for a reason of its own (a file that cannot be written, say),
        // which is the outcome as it stands.
        notTheRepository,
    };
    struct Attempt {
        End end = End::tryNext;
        foundation::Error reason;
        std::optional<Index> index;
    };

    Attempt fetchForm(const std::string& location, const Form& form,
                      const std::optional<std::string>& ifModifiedSince,
                      const KSBlockingTransfer::Progress& progress, const Reader& read);

    KSBlockingTransfer& transfer_;
    const std::string downloadFile_;
};

}  // namespace corvane
