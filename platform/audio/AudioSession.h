#pragma once

#include <mutex>
#include <string>

namespace audio {

inline constexpr const char* kCategoryAmbient = "Ambient";
inline constexpr const char* kCategorySoloAmbient = "SoloAmbient";

// The process's audio session. Nothing is routed anywhere; the category is only remembered.
class AudioSession {
  public:
    static AudioSession& sharedInstance();

    void setCategory(std::string category);
    std::string category() const;

  private:
    AudioSession() = default;

    mutable std::mutex mutex_;
    std::string category_ = kCategorySoloAmbient;
};

}  // namespace audio
