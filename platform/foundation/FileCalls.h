#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

#include "foundation/Error.h"

namespace foundation {

// What FileManager and FileHandle share of the system's file calls.

enum class FileAccess { Read, Write };

// A failed call as an error of FileManager's domain: its code from errno and the kind of access,
// a description naming the path and the action, the path under FileManager::kFilePathKey.
Error fileError(int errnum, FileAccess access, std::string_view action, const std::string& path);
Error fileError(const std::error_code& code, FileAccess access, std::string_view action,
                const std::string& path);

// Writes all of the bytes, going on after short writes and interruptions; false with errno set
// when the system refuses.
bool writeAll(int fd, const char* data, std::size_t size);

}  // namespace foundation
