#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "foundation/Result.h"

namespace corvane {

// The text of a Packages index as an import reads it: piece after piece, each ending where a
// stanza ends, and again at any place handed over before. An import keeps only the pieces of the
// batch it prepares, and reads the rare stanza it needs later (another version of a package
// spread over the index) again, so that an index of tens of megabytes is never in memory whole.
class KSRPackageIndexText {
  public:
    // The failure of an import whose text, read again, is not what was handed over.
    static constexpr const char* kErrorDomain = "CorvaneIndexTextErrorDomain";
    enum ErrorCode : long { kChanged = 1 };

    virtual ~KSRPackageIndexText() = default;

    // The next piece; nullopt after the last; the error when the text turns out to be no index.
    virtual foundation::Result<std::optional<std::string>> nextPiece() = 0;
    // length bytes from offset, counted from the start of the first piece; fewer where the text
    // handed over so far ends.
    virtual foundation::Result<std::string> textAt(std::uint64_t offset,
                                                   std::size_t length) const = 0;
    // True once whatever makes the text has let go of the memory it needed (a decompressor's
    // dictionary, megabytes), which the import may use from then on. May be asked on any thread.
    virtual bool releasedDecoderMemory() const { return false; }
};

}  // namespace corvane
