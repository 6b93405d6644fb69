#include "store/SqlFunctions.h"

#include <sqlite3.h>

#include <string_view>

#include "store/StoreError.h"
#include "store/TextFolding.h"

namespace store {

namespace {

std::string_view textOf(sqlite3_value* value) {
    auto text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)))
                : std::string_view();
}

bool isNull(sqlite3_value* value) {
    return sqlite3_value_type(value) == SQLITE_NULL;
}

void fold(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (isNull(arguments[0])) {
        sqlite3_result_null(context);
        return;
    }
    auto folded = TextFolding::fold(textOf(arguments[0]), sqlite3_value_int(arguments[1]));
    sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

void beginsWith(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (isNull(arguments[0]) || isNull(arguments[1])) {
        sqlite3_result_int(context, 0);
        return;
    }
    sqlite3_result_int(context, textOf(arguments[0]).starts_with(textOf(arguments[1])) ? 1 : 0);
}

void endsWith(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (isNull(arguments[0]) || isNull(arguments[1])) {
        sqlite3_result_int(context, 0);
        return;
    }
    sqlite3_result_int(context, textOf(arguments[0]).ends_with(textOf(arguments[1])) ? 1 : 0);
}

std::size_t codePointLength(std::string_view text, std::size_t at) {
    auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size() - at);
}

// Matches with backtracking to the last '*' only, so the cost stays linear in practice.
bool wildcardMatch(std::string_view text, std::string_view pattern) {
    std::size_t t = 0, p = 0;
    std::size_t starPattern = std::string_view::npos, starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starText = t;
            continue;
        }
        if (p < pattern.size() && pattern[p] == '?') {
            t += codePointLength(text, t);
            ++p;
            continue;
        }
        std::size_t literal =
            p < pattern.size() && pattern[p] == '\\' && p + 1 < pattern.size() ? p + 1 : p;
        if (literal < pattern.size() && pattern[literal] == text[t]) {
            p = literal + 1;
            ++t;
            continue;
        }
        if (starPattern == std::string_view::npos)
            return false;
        p = starPattern;
        t = starText += codePointLength(text, starText);
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

void like(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (isNull(arguments[0]) || isNull(arguments[1])) {
        sqlite3_result_int(context, 0);
        return;
    }
    sqlite3_result_int(context, wildcardMatch(textOf(arguments[0]), textOf(arguments[1])) ? 1 : 0);
}

void add(sqlite3* database, const char* name,
         void (*function)(sqlite3_context*, int, sqlite3_value**)) {
    int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    if (sqlite3_create_function_v2(database, name, 2, flags, nullptr, function, nullptr, nullptr,
                                   nullptr) != SQLITE_OK)
        throw StoreError(std::string("cannot register SQL function ") + name + ": " +
                         sqlite3_errmsg(database));
}

}  // namespace

void SqlFunctions::registerOn(sqlite3* database) {
    add(database, "store_fold", fold);
    add(database, "store_beginswith", beginsWith);
    add(database, "store_endswith", endsWith);
    add(database, "store_like", like);
}

}  // namespace store
