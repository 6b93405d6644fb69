#include "framework/storage/KSRPackageIndexString.h"

#include <algorithm>

#include "framework/debian/StanzaReader.h"

namespace corvane {

foundation::Result<std::optional<std::string>> KSRPackageIndexString::nextPiece() {
    const auto rest = text_.substr(handedOver_);
    if (rest.empty())
        return std::optional<std::string>();
    // A stanza longer than a piece goes with the rest of the text.
    auto cut = StanzaReader::endOfLastStanza(rest.substr(0, kPieceSize));
    if (rest.size() <= kPieceSize || cut == std::string_view::npos || cut == 0)
        cut = rest.size();
    handedOver_ += cut;
    return std::optional<std::string>(rest.substr(0, cut));
}

foundation::Result<std::string> KSRPackageIndexString::textAt(std::uint64_t offset,
                                                              std::size_t length) const {
    const auto from = std::min<std::uint64_t>(offset, handedOver_);
    return std::string(text_.substr(from, std::min<std::uint64_t>(length, handedOver_ - from)));
}

}  // namespace corvane
