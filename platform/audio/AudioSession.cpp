#include "audio/AudioSession.h"

namespace audio {

AudioSession& AudioSession::sharedInstance() {
    static auto* session = new AudioSession();
    return *session;
}

void AudioSession::setCategory(std::string category) {
    std::lock_guard lock(mutex_);
    category_ = std::move(category);
}

std::string AudioSession::category() const {
    std::lock_guard lock(mutex_);
    return category_;
}

}  // namespace audio
