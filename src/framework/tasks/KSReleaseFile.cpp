#include "framework/tasks/KSReleaseFile.h"

#include "foundation/DateFormatter.h"
#include "foundation/Value.h"
#include "framework/debian/ControlFileParser.h"
#include "framework/network/InternetDate.h"

namespace corvane {

namespace {

std::optional<std::string> presentText(const foundation::Value& value) {
    if (!foundation::isPresentText(value))
        return std::nullopt;
    return value.stringValue();
}

// Release files carry RFC 2822 dates, with a numeric zone or a zone name; only a zone name other
// than GMT's and UTC's needs the calendar data of the locale's formats.
std::optional<double> releaseDate(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    if (auto date = InternetDate::parse(*text))
        return date;
    for (const auto* pattern : {"EEE, dd MMM yyyy HH:mm:ss Z", "EEE, dd MMM yyyy HH:mm:ss zzz",
                                "EEE, d MMM yyyy HH:mm:ss Z", "EEE, d MMM yyyy HH:mm:ss zzz"})
        if (auto date = foundation::DateFormatter::withFormat(pattern, "UTC").dateFromString(*text))
            return date;
    return std::nullopt;
}

}  // namespace

std::optional<KSReleaseFile> KSReleaseFile::parse(std::string_view text) {
    const auto stanzas = ControlFileParser::parse(text);
    if (stanzas.empty())
        return std::nullopt;
    const auto& fields = stanzas.front();
    KSReleaseFile release;
    release.name = presentText(fields["Label"]);
    if (!release.name)
        release.name = presentText(fields["Origin"]);
    release.description = presentText(fields["Description"]);
    release.date = releaseDate(presentText(fields["Date"]));
    return release;
}

}  // namespace corvane
