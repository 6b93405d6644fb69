#pragma once

#include <string_view>

#include "foundation/Format.h"

// The log line on standard error: "(*** <bundle name> <major version> ***) <function> [Line <line>] "
// followed by the message formatted as foundation::format does.
#define KSLog(fmt, ...) \
    ::foundation::logLine(__func__, __LINE__, ::foundation::format(fmt __VA_OPT__(, ) __VA_ARGS__))

namespace foundation {

void logLine(std::string_view function, int line, std::string_view message);
// A line that stands alone, without the prefix.
void logPlain(std::string_view text);

}  // namespace foundation
