#pragma once

#include <cstddef>
#include <string_view>

#include "framework/storage/KSRPackageIndexText.h"

namespace corvane {

// An index text that is in memory already, handed over in pieces as a download's would be. The
// text must outlive it.
class KSRPackageIndexString : public KSRPackageIndexText {
  public:
    explicit KSRPackageIndexString(std::string_view text) : text_(text) {}

    foundation::Result<std::optional<std::string>> nextPiece() override;
    foundation::Result<std::string> textAt(std::uint64_t offset, std::size_t length) const override;

  private:
    static constexpr std::size_t kPieceSize = std::size_t{256} << 10;

    std::string_view text_;
    std::size_t handedOver_ = 0;
};

}  // namespace corvane
