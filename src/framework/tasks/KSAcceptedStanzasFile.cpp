#include "framework/tasks/KSAcceptedStanzasFile.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr std::size_t kPieceSize = std::size_t{256} << 10;

}  // namespace

foundation::Status KSAcceptedStanzasFile::write(const KSRPackageIndexText& text,
                                                const std::vector<Place>& refused,
                                                const std::string& path) {
    auto file = foundation::FileHandle::forWritingAtPath(path);
    FOUNDATION_RETURN_IF_ERROR(file);
    std::uint64_t offset = 0;
    for (const auto& place : refused) {
        FOUNDATION_RETURN_IF_ERROR(copy(text, offset, place.offset, *file));
        offset = place.offset + place.length;
    }
    FOUNDATION_RETURN_IF_ERROR(copy(text, offset, std::nullopt, *file));
    return file->synchronizeFile();
}

foundation::Status KSAcceptedStanzasFile::copy(const KSRPackageIndexText& text,
                                               std::uint64_t offset,
                                               std::optional<std::uint64_t> to,
                                               foundation::FileHandle& file) {
    while (!to || offset < *to) {
        auto piece = text.textAt(
            offset, to ? std::min<std::uint64_t>(kPieceSize, *to - offset) : kPieceSize);
        FOUNDATION_RETURN_IF_ERROR(piece);
        if (piece->empty())
            break;
        FOUNDATION_RETURN_IF_ERROR(file.writeData(*piece));
        offset += piece->size();
    }
    return foundation::Success{};
}

}  // namespace corvane
