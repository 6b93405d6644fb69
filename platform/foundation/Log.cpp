#include "foundation/Log.h"

#include "foundation/Bundle.h"

#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>

namespace foundation {

namespace {

// One write per line, so lines from several threads never interleave; a short write (a pipe
// that is nearly full) is finished before the next line starts.
void writeLine(const std::string& line) {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    for (std::size_t done = 0; done < line.size();) {
        ssize_t written = ::write(STDERR_FILENO, line.data() + done, line.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        done += std::size_t(written);
    }
}

}  // namespace

void logLine(std::string_view function, int line, std::string_view message) {
    // Never destroyed: a thread may still log while the process exits.
    static const std::string* prefix = [] {
        std::string version = Bundle::shortVersion();
        return new std::string("(*** " + Bundle::name() + " " +
                               version.substr(0, version.find('.')) + " ***) ");
    }();
    std::string text = *prefix;
    text.append(function).append(" [Line ").append(std::to_string(line)).append("] ");
    writeLine(text.append(message).append("\n"));
}

void logPlain(std::string_view text) {
    writeLine(std::string(text).append("\n"));
}

}  // namespace foundation
