#pragma once

#include <map>
#include <string>
#include <string_view>

namespace corvane {

// Feeds the verbose console ("UpdateVerboseView", posted on the main thread in the order fed)
// with what a package task runs and prints. Streamed output is posted a line at a time, with
// package identifiers replaced by the display names given, and marked as error or warning by
// APT's and dpkg's own prefixes. Any one thread at a time.
class KSVerboseConsoleFeed {
  public:
    static constexpr const char* kNotification = "UpdateVerboseView";
    // The text.
    static constexpr const char* kMessageKey = "Message";
    // The task's own closing message reports a failure.
    static constexpr const char* kErrorKey = "Error";
    // The text is the command line about to run.
    static constexpr const char* kIsForCommandKey = "isForCommand";
    // The text is a line the command printed.
    static constexpr const char* kIsForStreamKey = "isForStream";
    // A printed line that reports an error ("E: ", "dpkg: error").
    static constexpr const char* kIsStreamErrorKey = "isStreamError";
    // A printed line that warns ("W: ", "dpkg: warning").
    static constexpr const char* kIsStreamWarningKey = "isStreamWarning";

    explicit KSVerboseConsoleFeed(std::map<std::string, std::string> displayNames = {});

    void postCommand(const std::string& commandLine);
    // Output as it arrives; a line is posted once it is complete.
    void append(std::string_view chunk);
    // Posts what is left of an unfinished line.
    void flush();
    void postMessage(const std::string& text, bool isError);

    // Each identifier, and its ":architecture" qualifier, as its display name; an identifier
    // inside a longer name or a file name is left alone.
    std::string rewrite(std::string_view line) const;

  private:
    void postLine(std::string_view line);

    std::map<std::string, std::string> displayNames_;
    std::string partialLine_;
};

}  // namespace corvane
