#include "audio/AudioPlayer.h"

#include <unistd.h>

#include <filesystem>

#include "foundation/ProcessValue.h"

namespace audio {

namespace {

foundation::ProcessValue<std::vector<std::string>> played;
foundation::ProcessValue<double> defaultDuration{AudioPlayer::kDefaultDuration};

}  // namespace

AudioPlayer::AudioPlayer(std::string path, double duration)
    : path_(std::move(path)), duration_(duration) {}

foundation::Result<std::shared_ptr<AudioPlayer>> AudioPlayer::withContentsOfFile(std::string path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || access(path.c_str(), R_OK) != 0)
        return foundation::Error::make(kErrorDomain, FileNotFound,
                                       "No sound file at " + path + ".");
    return std::shared_ptr<AudioPlayer>(new AudioPlayer(std::move(path), defaultDuration.get()));
}

void AudioPlayer::play() {
    played.update([this](std::vector<std::string>& files) { files.push_back(path_); });
    std::lock_guard lock(mutex_);
    cancelTimer();
    // The timer's block holds the player, which is what keeps a dropped player alive until it
    // has finished.
    timer_ = foundation::RunLoop::main().schedule(
        duration_, [self = shared_from_this(), play = ++plays_] { self->finish(play); });
}

void AudioPlayer::stop() {
    std::lock_guard lock(mutex_);
    cancelTimer();
}

bool AudioPlayer::isPlaying() const {
    std::lock_guard lock(mutex_);
    return timer_.has_value();
}

// The caller holds the player and its mutex.
void AudioPlayer::cancelTimer() {
    if (timer_)
        foundation::RunLoop::main().cancelTimer(*timer_);
    timer_.reset();
}

void AudioPlayer::finish(std::uint64_t play) {
    std::lock_guard lock(mutex_);
    if (play == plays_)
        timer_.reset();
}

std::vector<std::string> AudioPlayer::playedFiles() {
    return played.get();
}

void AudioPlayer::setDefaultDuration(double seconds) {
    defaultDuration.set(seconds);
}

}  // namespace audio
