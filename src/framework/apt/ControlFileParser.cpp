#include "framework/apt/ControlFileParser.h"

#include <cstring>
#include <string>
#include <vector>

namespace corvane {

namespace {

struct Line {
    const char* begin = nullptr;
    const char* end = nullptr;  // before "\n" or "\r\n"
    const char* next = nullptr;
};

// Where one field lies in the buffer; its value is only copied out once the stanza is complete.
struct FieldSpan {
    std::string_view name;
    const char* valueBegin = nullptr;
    const char* firstLineEnd = nullptr;
    const char* end = nullptr;  // end of its last line; firstLineEnd for a single-line field
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

const char* withoutTrailingBlanks(const char* begin, const char* end) {
    while (end > begin && isBlank(end[-1]))
        --end;
    return end;
}

Line readLine(const char* position, const char* bufferEnd) {
    const auto* newline =
        static_cast<const char*>(std::memchr(position, '\n', bufferEnd - position));
    Line line{position, newline ? newline : bufferEnd, newline ? newline + 1 : bufferEnd};
    if (line.end > line.begin && line.end[-1] == '\r')
        --line.end;
    return line;
}

bool isBlankLine(const Line& line) {
    for (const char* c = line.begin; c < line.end; ++c) {
        if (!isBlank(*c))
            return false;
    }
    return true;
}

FieldSpan fieldFromLine(const Line& line, const char* colon) {
    FieldSpan field;
    field.name =
        std::string_view(line.begin, withoutTrailingBlanks(line.begin, colon) - line.begin);
    const char* value = colon + 1;
    while (value < line.end && isBlank(*value))
        ++value;
    field.valueBegin = value;
    field.firstLineEnd = withoutTrailingBlanks(value, line.end);
    field.end = field.firstLineEnd;
    return field;
}

void addLine(std::vector<FieldSpan>& fields, const Line& line) {
    if (!isBlank(*line.begin) && *line.begin != ':') {
        const auto* colon =
            static_cast<const char*>(std::memchr(line.begin, ':', line.end - line.begin));
        if (colon) {
            fields.push_back(fieldFromLine(line, colon));
            return;
        }
    }
    if (!fields.empty())
        fields.back().end = withoutTrailingBlanks(line.begin, line.end);
}

// The continuation lines after the first, each after a newline and without its leading blank.
void appendContinuation(std::string& value, const char* position, const char* end) {
    while (position < end) {
        const auto* newline = static_cast<const char*>(std::memchr(position, '\n', end - position));
        const char* lineBegin = newline ? newline + 1 : end;
        if (lineBegin >= end)
            return;
        if (*lineBegin == ' ' || *lineBegin == '\t')
            ++lineBegin;
        const auto* lineEnd =
            static_cast<const char*>(std::memchr(lineBegin, '\n', end - lineBegin));
        position = lineEnd ? lineEnd : end;
        if (!value.empty())
            value += '\n';
        value.append(lineBegin, withoutTrailingBlanks(lineBegin, position));
    }
}

std::string valueOf(const FieldSpan& field) {
    if (field.end == field.firstLineEnd)
        return std::string(field.valueBegin, field.firstLineEnd);
    std::string value;
    value.reserve(field.end - field.valueBegin);
    value.append(field.valueBegin, field.firstLineEnd);
    appendContinuation(value, field.firstLineEnd, field.end);
    return value;
}

// "Name <address>" -> field = "Name", field + "Email" = "address"; false for any other form.
bool addContact(foundation::Dictionary& record, std::string_view name, std::string_view value) {
    if (value.size() < 3 || value.back() != '>')
        return false;
    const auto open = value.rfind('<');
    if (open == std::string_view::npos || open + 2 >= value.size())
        return false;
    const std::string_view person = value.substr(0, open);
    const char* personEnd = withoutTrailingBlanks(person.data(), person.data() + person.size());
    record.insert_or_assign(std::string(name), foundation::Value(std::string_view(
                                                   person.data(), personEnd - person.data())));
    record.insert_or_assign(std::string(name) + "Email",
                            foundation::Value(value.substr(open + 1, value.size() - open - 2)));
    return true;
}

bool hasField(const std::vector<FieldSpan>& fields, std::string_view name) {
    if (name.empty())
        return true;
    for (const auto& field : fields) {
        if (field.name == name)
            return true;
    }
    return false;
}

foundation::Value makeRecord(std::string_view raw, const std::vector<FieldSpan>& fields) {
    foundation::Value record;
    auto& dictionary = record.mutableDictionary();
    for (const auto& field : fields) {
        std::string value = valueOf(field);
        if ((field.name == "Author" || field.name == "Maintainer") &&
            addContact(dictionary, field.name, value))
            continue;
        dictionary.insert_or_assign(std::string(field.name), foundation::Value(std::move(value)));
    }
    dictionary.insert_or_assign("rawPackage", foundation::Value(raw));
    return record;
}

}  // namespace

foundation::Array ControlFileParser::parse(std::string_view text, std::string_view requiredField) {
    foundation::Array records;
    std::vector<FieldSpan> fields;
    const char* position = text.data();
    const char* const end = position + text.size();
    while (position < end) {
        Line line = readLine(position, end);
        if (isBlankLine(line)) {
            position = line.next;
            continue;
        }
        const char* stanzaBegin = position;
        const char* stanzaEnd = line.end;
        fields.clear();
        do {
            addLine(fields, line);
            stanzaEnd = line.end;
            position = line.next;
            if (position >= end)
                break;
            line = readLine(position, end);
        } while (!isBlankLine(line));
        if (hasField(fields, requiredField))
            records.push_back(
                makeRecord(std::string_view(stanzaBegin, stanzaEnd - stanzaBegin), fields));
    }
    return records;
}

}  // namespace corvane
