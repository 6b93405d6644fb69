#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

// Stands in for the person in a run without one (--answer): an alert that has come on screen in
// the key window is answered with the next of the given button titles, tapped as a finger taps
// it. A title that the alert has no button for is logged and used up. Main thread.
class KSAlertAnswerer : public std::enable_shared_from_this<KSAlertAnswerer> {
  public:
    static constexpr double kCheckIntervalSeconds = 0.05;

    explicit KSAlertAnswerer(std::vector<std::string> answers) : answers_(std::move(answers)) {}

    // Taps the next answer on the alert on screen; false when no alert is fully shown or no
    // answer is left.
    bool answerShownAlert();
    // Looks at the screen every kCheckIntervalSeconds of the run loop's clock while answers are
    // left. A run that ends once at rest asks answerShownAlert itself instead: this timer would
    // keep the run loop from ever coming to rest.
    void start();
    bool hasAnswersLeft() const { return next_ < answers_.size(); }

  private:
    void scheduleCheck();

    std::vector<std::string> answers_;
    std::size_t next_ = 0;
};

}  // namespace corvane
