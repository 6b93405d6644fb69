#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace uikit {
class AlertController;
class ViewController;
}  // namespace uikit

namespace corvane {

// Stands in for the person in a run without one (--answer): an alert that has come on screen in
// the key window is answered with the next of the given button titles, tapped as a finger taps
// it. A title that the alert has no button for is logged and used up. Without an alert, a screen
// presented on top is answered through its navigation bar: an enabled bar button with the next
// title is tapped (an Install or a Cancel); until one is there, the title waits. Main thread.
class KSAlertAnswerer : public std::enable_shared_from_this<KSAlertAnswerer> {
  public:
    static constexpr double kCheckIntervalSeconds = 0.05;

    explicit KSAlertAnswerer(std::vector<std::string> answers) : answers_(std::move(answers)) {}

    // Taps the next answer on the alert or the presented screen; false when neither is fully
    // shown, when the screen has no such button, or when no answer is left.
    bool answerShownAlert();
    // Looks at the screen every kCheckIntervalSeconds of the run loop's clock while answers are
    // left. A run that ends once at rest asks answerShownAlert itself instead: this timer would
    // keep the run loop from ever coming to rest.
    void start();
    bool hasAnswersLeft() const { return next_ < answers_.size(); }

  private:
    bool answerAlert(const std::shared_ptr<uikit::AlertController>& alert);
    bool tapBarButton(const std::shared_ptr<uikit::ViewController>& presented);
    void scheduleCheck();

    std::vector<std::string> answers_;
    std::size_t next_ = 0;
};

}  // namespace corvane
