#include "framework/apt/KSArchiveReader.h"

#include <unicode/unistr.h>

#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/debian/StanzaReader.h"

namespace corvane {

namespace {

std::string decoded(std::string_view bytes) {
    std::string text;
    icu::UnicodeString::fromUTF8(icu::StringPiece(bytes.data(), static_cast<int32_t>(bytes.size())))
        .toUTF8String(text);
    return text;
}

foundation::Error readError(KSArchiveReader::ErrorCode code, std::string description) {
    return foundation::Error::make(KSArchiveReader::kErrorDomain, code, std::move(description));
}

}  // namespace

foundation::Result<KSArchiveControl> KSArchiveReader::readControl(const std::string& archivePath) {
    auto output = KSAPTManager::controlFileOfArchive(archivePath);
    if (!output) {
        const auto& error = output.error();
        if (error.domain != KSAPTManager::kErrorDomain ||
            error.code != KSAPTManager::kCommandFailed)
            return error;
        const auto printed = foundation::trimmed(
            decoded(error.userInfo[foundation::Error::kLocalizedDescriptionKey].stringValue()));
        return readError(kUnreadableArchive,
                         printed.empty() ? "dpkg-deb could not read the archive." : printed);
    }
    const std::string text = decoded(*output);
    StanzaReader reader(text);
    auto stanza = reader.next();
    if (!stanza || stanza->fields().empty())
        return readError(kNoControlData, "The archive holds no control data.");
    KSArchiveControl control;
    control.text = std::string(stanza->text());
    for (const auto& field : stanza->fields())
        control.fields.emplace_back(std::string(field.name), field.value());
    return control;
}

}  // namespace corvane
