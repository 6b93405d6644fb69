// A screen that writes down what its container tells it, for the tests of the containers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "uikit/ViewController.h"

namespace uikit_testing {

struct EventLog {
    std::vector<std::string> events;

    void add(std::string event) { events.push_back(std::move(event)); }
    std::vector<std::string> take() { return std::exchange(events, {}); }
};

class RecordingViewController : public uikit::ViewController {
  public:
    RecordingViewController(std::string name, std::shared_ptr<EventLog> log,
                            std::string nibName = {})
        : uikit::ViewController(std::move(nibName)), name_(std::move(name)), log_(std::move(log)) {
        setTitle(name_);
    }

    int viewDidLoadCount = 0;
    std::vector<uikit::UserInterfaceStyle> traitChanges;
    std::vector<uikit::Size> sizeChanges;

  protected:
    void viewDidLoad() override {
        ++viewDidLoadCount;
        log_->add(name_ + " didLoad");
    }
    void viewWillAppear(bool) override { log_->add(name_ + " willAppear" + moving()); }
    void viewDidAppear(bool) override { log_->add(name_ + " didAppear" + moving()); }
    void viewWillDisappear(bool) override { log_->add(name_ + " willDisappear" + moving()); }
    void viewDidDisappear(bool) override { log_->add(name_ + " didDisappear" + moving()); }
    void traitCollectionDidChange(const uikit::TraitCollection&) override {
        traitChanges.push_back(traitCollection().userInterfaceStyle());
    }
    void viewWillTransitionToSize(uikit::Size size) override {
        sizeChanges.push_back(size);
        uikit::ViewController::viewWillTransitionToSize(size);
    }

  private:
    std::string moving() const {
        if (isMovingFromParentViewController())
            return " (leaving)";
        if (isMovingToParentViewController())
            return " (arriving)";
        return "";
    }

    std::string name_;
    std::shared_ptr<EventLog> log_;
};

}  // namespace uikit_testing
