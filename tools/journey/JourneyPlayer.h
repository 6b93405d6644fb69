#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "JourneyStep.h"
#include "app/launch/KSRestWatch.h"

namespace corvane::journey {

// Plays a person's steps on the running application, on the main thread: before each step it
// waits until the application has come to rest (whatever the last step started has finished),
// and after the last one it terminates the application. The first step that cannot be done ends
// the journey with the reason and the screen as it was.
class JourneyPlayer : public std::enable_shared_from_this<JourneyPlayer> {
  public:
    struct Settings {
        // Where "show" draws the screen; empty for no pictures.
        std::string snapshotFolder;
        // How long the application may take to come to rest before a step.
        double stepTimeoutSeconds = 180;
    };

    JourneyPlayer(std::vector<JourneyStep> steps, Settings settings, FILE* out);
    ~JourneyPlayer();

    // Queues the journey on the main run loop; call before the loop runs.
    void start();
    bool succeeded() const { return failed_ == false && next_ == steps_.size(); }

  private:
    void waitForRest();
    void playNext();
    foundation::Status play(const JourneyStep& step);
    foundation::Status touch(const JourneyStep& step);
    foundation::Status pickShortcut(const JourneyStep& step);
    foundation::Status show(const JourneyStep& step);
    void fail(const std::string& why);
    void finish();
    void watchTheClock();

    std::vector<JourneyStep> steps_;
    Settings settings_;
    FILE* out_;
    std::size_t next_ = 0;
    int shown_ = 0;
    bool failed_ = false;
    bool finished_ = false;
    double startedAt_ = 0;
    std::shared_ptr<KSRestWatch> restWatch_;

    // A step whose wait outlasts its time is ended from this thread: a timer of the run loop
    // would itself keep the application from ever coming to rest.
    std::thread watchdog_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<unsigned> waitNumber_ = 0;
    bool stopping_ = false;
};

}  // namespace corvane::journey
