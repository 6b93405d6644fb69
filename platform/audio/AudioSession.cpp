#include "audio/AudioSession.h"

#include "foundation/SharedInstance.h"

namespace audio {

AudioSession& AudioSession::sharedInstance() {
    static auto* session = new foundation::SharedInstance<AudioSession>(
        [] { return std::shared_ptr<AudioSession>(new AudioSession()); });
    return session->get();
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
