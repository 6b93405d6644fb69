#include "framework/debian/StanzaReader.h"

#include <algorithm>
#include <cstring>

namespace corvane {

namespace {

std::string_view between(const char* begin, const char* end) {
    return std::string_view(begin, static_cast<std::size_t>(end - begin));
}

}  // namespace

std::optional<ControlStanza> StanzaReader::next() {
    const char* position = position_;
    Line line;
    do {
        if (position >= end_)
            return std::nullopt;
        line = readLine(position);
        position = line.next;
    } while (isBlankLine(line));
    const char* const begin = line.begin;
    const char* stanzaEnd = line.end;
    fields_.clear();
    while (true) {
        addLine(line);
        stanzaEnd = line.end;
        if (position >= end_)
            break;
        line = readLine(position);
        if (isBlankLine(line))
            break;
        position = line.next;
    }
    position_ = position;
    return ControlStanza(between(begin, stanzaEnd), fields_);
}

std::size_t StanzaReader::endOfLastStanza(std::string_view text, std::size_t from) {
    auto lineEnd = text.rfind('\n');
    while (lineEnd != std::string_view::npos && lineEnd >= from) {
        const auto previous = lineEnd == 0 ? std::string_view::npos : text.rfind('\n', lineEnd - 1);
        const auto lineStart = previous == std::string_view::npos ? 0 : previous + 1;
        if (std::all_of(text.begin() + lineStart, text.begin() + lineEnd, ControlStanza::isBlank))
            return lineEnd + 1;
        lineEnd = previous;
    }
    return std::string_view::npos;
}

StanzaReader::Line StanzaReader::readLine(const char* position) const {
    const auto* newline = static_cast<const char*>(std::memchr(position, '\n', end_ - position));
    Line line{position, newline ? newline : end_, newline ? newline + 1 : end_};
    if (line.end > line.begin && line.end[-1] == '\r')
        --line.end;
    return line;
}

bool StanzaReader::isBlankLine(const Line& line) {
    for (const char* c = line.begin; c < line.end; ++c) {
        if (!ControlStanza::isBlank(*c))
            return false;
    }
    return true;
}

void StanzaReader::addLine(const Line& line) {
    if (!ControlStanza::isBlank(*line.begin) && *line.begin != ':') {
        const auto* colon =
            static_cast<const char*>(std::memchr(line.begin, ':', line.end - line.begin));
        if (colon) {
            const char* value = colon + 1;
            while (value < line.end && ControlStanza::isBlank(*value))
                ++value;
            const char* valueEnd = ControlStanza::withoutTrailingBlanks(value, line.end);
            fields_.push_back(
                {between(line.begin, ControlStanza::withoutTrailingBlanks(line.begin, colon)),
                 between(value, valueEnd), static_cast<std::size_t>(valueEnd - value)});
            return;
        }
    }
    if (!fields_.empty()) {
        auto& field = fields_.back();
        field.text =
            between(field.text.data(), ControlStanza::withoutTrailingBlanks(line.begin, line.end));
    }
}

}  // namespace corvane
