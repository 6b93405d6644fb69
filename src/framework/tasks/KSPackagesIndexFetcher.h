#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Result.h"
#include "framework/categories/DataCompression.h"
#include "framework/tasks/KSBlockingTransfer.h"

namespace corvane {

// Fetches a repository's Packages index, trying its five forms in a fixed order: xz, bzip2,
// gzip, lzma, plain. The smallest forms come first, so a repository that offers several costs
// the least transfer; plain text is the last resort. A form that is missing (any HTTP status
// but 200 and 304), or that does not decompress to an index, gives way to the next; a failed
// connection ends the attempt at once, as the other forms would fail alike.
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

    struct Index {
        // The server answered 304 to If-Modified-Since: text is empty, nothing changed.
        bool notModified = false;
        std::string text;
        std::string fileName;
        // The Last-Modified answer, to send back next time.
        std::optional<std::string> lastModified;
    };

    explicit KSPackagesIndexFetcher(KSBlockingTransfer& transfer) : transfer_(transfer) {}

    // ifModifiedSince: an earlier Last-Modified answer. progress: 0 to 1 over each form's load.
    foundation::Result<Index> fetch(const std::string& location,
                                    const std::optional<std::string>& ifModifiedSince,
                                    const KSBlockingTransfer::Progress& progress = {});

  private:
    // The index when the form gave one; else the reason, and whether to try the next form.
    foundation::Result<Index> fetchForm(const std::string& location, const Form& form,
                                        const std::optional<std::string>& ifModifiedSince,
                                        const KSBlockingTransfer::Progress& progress,
                                        bool* tryNext);
    static foundation::Result<Index> readIndex(const foundation::Bytes& body, const Form& form);

    KSBlockingTransfer& transfer_;
};

}  // namespace corvane
