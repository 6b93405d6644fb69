#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "foundation/Result.h"
#include "foundation/Value.h"

namespace foundation {

// An open file, read or written from where the last read or write ended, or read at any offset
// (after NSFileHandle). Reads at an offset move no position, so other threads may make them
// while one thread reads or writes in order. Closed when destroyed. Failures are errors of
// FileManager's domain and codes, naming the path.
class FileHandle {
  public:
    static Result<FileHandle> forReadingAtPath(const std::string& path);
    // Creates the file, or empties the one there, and opens it for reading too.
    static Result<FileHandle> forWritingAtPath(const std::string& path);

    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    const std::string& path() const { return path_; }
    int fileDescriptor() const { return descriptor_; }

    // Up to length bytes from the position; fewer only where the file ends, none past it.
    Result<Bytes> readDataUpToLength(std::size_t length);
    // Up to length bytes from offset, whatever the position; fewer only where the file ends.
    Result<std::string> readText(std::uint64_t offset, std::size_t length) const;
    Status writeData(std::string_view data);
    // Everything written so far reaches the disk.
    Status synchronizeFile();

  private:
    FileHandle(int descriptor, std::string path)
        : descriptor_(descriptor), path_(std::move(path)) {}
    // Reads into buffer as far as the file goes: from the position, or from offset when given.
    Result<std::size_t> fill(char* buffer, std::size_t length,
                             std::optional<std::uint64_t> offset) const;

    int descriptor_ = -1;
    std::string path_;
};

}  // namespace foundation
