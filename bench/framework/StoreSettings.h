#pragma once

#include <string>

namespace corvane::bench {

// The SQLite settings both sides of the store benchmark write with, as SQL: the store's own
// (journal, synchronous, the writer's page cache), and no checkpoint inside the measured write.
// The store copies its log into the file on a thread of its own after the commit; plain SQLite
// is told to make none.
std::string storeSettings();

}  // namespace corvane::bench
