#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/FileHandle.h"
#include "foundation/Result.h"
#include "framework/storage/KSRPackageIndexSummary.h"
#include "framework/storage/KSRPackageIndexText.h"

namespace corvane {

// The text of an index without the stanzas its import refused, for APT's list: read back and
// written a piece at a time, as the index is never in memory whole.
class KSAcceptedStanzasFile {
  public:
    using Place = KSRPackageIndexSummary::Place;

    // refused: in index order. The file is on disk when this returns.
    static foundation::Status write(const KSRPackageIndexText& text,
                                    const std::vector<Place>& refused, const std::string& path);

  private:
    // From offset up to `to`, or to the end of the text.
    static foundation::Status copy(const KSRPackageIndexText& text, std::uint64_t offset,
                                   std::optional<std::uint64_t> to, foundation::FileHandle& file);
};

}  // namespace corvane
