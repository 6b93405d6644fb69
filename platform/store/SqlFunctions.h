#pragma once

struct sqlite3;

namespace store {

// The SQL functions that translated predicates call, registered on every connection:
//   store_fold(text, options)         text folded by TextFolding (NULL stays NULL)
//   store_beginswith(text, prefix)    1 or 0; 0 for NULL
//   store_endswith(text, suffix)      1 or 0; 0 for NULL
//   store_like(text, pattern)         1 or 0; '*' any run, '?' one character, '\' escapes
class SqlFunctions {
  public:
    static void registerOn(sqlite3* database);
};

}  // namespace store
