#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/packagemanager/KSQueueStateNotification.h"
#include "ui/core/KSApplicationServices.h"
#include "uikit/BarButtonItem.h"
#include "uikit/Window.h"

namespace corvane::testing {

// The application delegate as far as a screen can tell: queueing marks the package queued and
// its queue-state notification follows on a later turn; options and share sheets are noted; a
// controller to present is shown over whatever the window shows.
class ScreenServices : public KSApplicationServices {
  public:
    explicit ScreenServices(std::shared_ptr<uikit::Window> window = nullptr)
        : window_(std::move(window)) {}

    void queuePackageWithIdentifier(const std::string& identifier,
                                    const std::optional<std::string>& versionToQueue,
                                    const std::shared_ptr<uikit::View>&) override {
        queued.push_back(identifier);
        KSQueueStateNotification::markQueued(identifier, versionToQueue);
    }
    void presentOptions(const std::string& identifier,
                        const std::shared_ptr<uikit::View>&) override {
        options.push_back(identifier);
    }
    void sharePackage(const std::string& identifier, const std::shared_ptr<uikit::View>&) override {
        shared.push_back(identifier);
    }
    void presentViewController(const std::shared_ptr<uikit::ViewController>& controller,
                               const std::shared_ptr<uikit::BarButtonItem>& sender) override {
        senders.push_back(sender);
        if (window_)
            window_->topmostPresentedViewController()->present(controller, true);
    }

    std::vector<std::string> queued;
    std::vector<std::string> options;
    std::vector<std::string> shared;
    std::vector<std::shared_ptr<uikit::BarButtonItem>> senders;

  private:
    std::shared_ptr<uikit::Window> window_;
};

}  // namespace corvane::testing
