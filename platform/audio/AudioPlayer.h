#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Result.h"
#include "foundation/RunLoop.h"

namespace audio {

inline constexpr const char* kErrorDomain = "audio";

enum ErrorCode : long {
    FileNotFound = 1,
};

// "Plays" a sound file: nothing is heard, but every play is recorded process-wide (until the
// process reset), and the player is playing until its duration has passed on the main run loop's
// clock. A playing player keeps itself alive, so a caller may drop it right after play().
class AudioPlayer : public std::enable_shared_from_this<AudioPlayer> {
  public:
    // An error when the path is not a readable regular file.
    static foundation::Result<std::shared_ptr<AudioPlayer>> withContentsOfFile(std::string path);

    // Starts from the beginning (again, when already playing).
    void play();
    void stop();
    bool isPlaying() const;

    const std::string& path() const { return path_; }
    double duration() const { return duration_; }

    // Every path played in this process, in order, one entry per play().
    static std::vector<std::string> playedFiles();
    // The duration of players made from now on.
    static void setDefaultDuration(double seconds);

    static constexpr double kDefaultDuration = 0.5;

  private:
    AudioPlayer(std::string path, double duration);
    void finish(std::uint64_t play);
    void cancelTimer();

    const std::string path_;
    const double duration_;
    mutable std::mutex mutex_;
    std::optional<foundation::RunLoop::TimerID> timer_;
    std::uint64_t plays_ = 0;
};

}  // namespace audio
