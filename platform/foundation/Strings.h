#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text helpers with the semantics of the platform's string class, on UTF-8 std::string.
namespace foundation {

// "a,,b" by "," -> {"a", "", "b"}; an empty separator gives the whole text.
std::vector<std::string> split(std::string_view text, std::string_view separator);
std::string replace(std::string_view text, std::string_view target, std::string_view replacement);
bool contains(std::string_view text, std::string_view part);
bool hasPrefix(std::string_view text, std::string_view prefix);
bool hasSuffix(std::string_view text, std::string_view suffix);
// Without Unicode whitespace and line terminators at either end.
std::string trimmed(std::string_view text);

// The value of a hexadecimal digit of either case; nullopt for any other character.
std::optional<unsigned> hexDigitValue(char c);

std::string lowercase(std::string_view text);
std::string uppercase(std::string_view text);
// The first letter of each word upper case, the rest lower: "hELLO wORLD" -> "Hello World".
std::string capitalized(std::string_view text);

// The comparison modifiers of predicates: [c] and [d].
enum CompareOptions : unsigned {
    kCaseSensitive = 0,
    kCaseInsensitive = 1,
    kDiacriticInsensitive = 2,
};
// The form two texts are compared in: marks removed for [d], case folded for [c].
std::string folded(std::string_view text, unsigned options);
// Negative, zero or positive, by code point order of the folded texts.
int compare(std::string_view a, std::string_view b, unsigned options = kCaseSensitive);
bool caseInsensitiveEquals(std::string_view a, std::string_view b);
bool caseAndDiacriticInsensitiveEquals(std::string_view a, std::string_view b);
bool containsIgnoringCase(std::string_view text, std::string_view part);
bool containsIgnoringCaseAndDiacritics(std::string_view text, std::string_view part);

// Well-formed UTF-8: no overlong forms, surrogates, stray continuation bytes or cut sequences.
bool isValidUtf8(std::string_view text);

// The first user-perceived character, whole: a flag or an emoji sequence is never cut.
std::string firstCharacter(std::string_view text);

// The leading number of a text after whitespace, else 0: "12abc" -> 12, "abc" -> 0.
// Integers beyond the 64-bit range clamp to its ends.
std::int64_t integerValue(std::string_view text);
double doubleValue(std::string_view text);

enum class PercentEncoding {
    URLQuery,       // what may stay as it is in a query: "?", "/", "=", "&" included
    PathComponent,  // one segment of a path: "/" and "?" are encoded
    QueryItem,      // a name or value of a query: "&", "=", "+" and "#" are encoded
    Unreserved,     // a form field: all but letters, digits and "-._~" are encoded
};
std::string percentEncode(std::string_view text, PercentEncoding allowed);
// nullopt for a "%" without two hex digits or a result that is not UTF-8.
std::optional<std::string> percentDecode(std::string_view text);

// Path helpers. Trailing slashes are ignored, except that "/" stays "/".
std::string lastPathComponent(std::string_view path);          // "/a/b.txt/" -> "b.txt"
std::string pathExtension(std::string_view path);              // ".profile" -> ""
std::string deletingLastPathComponent(std::string_view path);  // "/a" -> "/"
std::string deletingPathExtension(std::string_view path);      // "a/b.tar.gz" -> "a/b.tar"
std::string appendingPathComponent(std::string_view path, std::string_view component);
// Unchanged for "" and "/", which have no name to extend.
std::string appendingPathExtension(std::string_view path, std::string_view extension);
// "/a/b/" -> {"/", "a", "b"}; "a//b" -> {"a", "b"}.
std::vector<std::string> pathComponents(std::string_view path);
// Whether the path is the folder or lies below it, component by component, as written:
// "/a/b" lies within "/a", "/ab" does not.
bool pathLiesWithin(std::string_view path, std::string_view folder);

// A name from outside that may become one file name: not empty, not "." or "..", no "/" or NUL.
bool isSafeFileName(std::string_view name);

}  // namespace foundation
