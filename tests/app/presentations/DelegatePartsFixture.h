#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/completion/KSApplicationNotices.h"
#include "app/completion/KSLocalNotifications.h"
#include "app/completion/KSTaskCompletion.h"
#include "app/presentations/KSPresentations.h"
#include "app/queue/KSPackageQueuer.h"
#include "app/tabs/KSTabBarController.h"
#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSQueueStateNotification.h"
#include "framework/repostore/RepoStoreFixture.h"
#include "framework/storage/KSRNotifications.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/AlertController.h"
#include "uikit/NavigationController.h"

namespace corvane::testing {

// Stands for the application delegate: forwards to the parts under test.
class ForwardingServices : public KSApplicationServices {
  public:
    explicit ForwardingServices(std::shared_ptr<KSPackageQueuer> queuer,
                                std::shared_ptr<KSPresentations> presentations)
        : queuer_(std::move(queuer)), presentations_(std::move(presentations)) {}

    void queuePackageWithIdentifier(const std::string& identifier,
                                    const std::optional<std::string>& versionToQueue,
                                    const std::shared_ptr<uikit::View>& sender) override {
        queuer_->queuePackageWithIdentifier(identifier, versionToQueue, sender);
    }
    void presentOptions(const std::string& identifier,
                        const std::shared_ptr<uikit::View>& sender) override {
        presentations_->presentOptions(identifier, sender);
    }
    void sharePackage(const std::string& identifier,
                      const std::shared_ptr<uikit::View>& sender) override {
        presentations_->sharePackage(identifier, sender);
    }
    void presentViewController(const std::shared_ptr<uikit::ViewController>& controller,
                               const std::shared_ptr<uikit::BarButtonItem>& sender) override {
        presentations_->presentViewController(controller, sender);
    }

  private:
    std::shared_ptr<KSPackageQueuer> queuer_;
    std::shared_ptr<KSPresentations> presentations_;
};

// The application delegate's parts, wired as the delegate wires them, over a device root with
// a payment endpoint on a loopback server (RepoStoreFixture) and a window whose root is
// presenter_, a tab bar controller as the application's.
class DelegatePartsFixture : public RepoStoreFixture {
  protected:
    void SetUp() override {
        RepoStoreFixture::SetUp();
        presenter_ = tabs;
        window_->setRootViewController(tabs);
        auto window = window_;
        presenter = std::make_shared<KSPresenter>([window] { return window; });
        presentations = std::make_shared<KSPresentations>(
            presenter, state, [tabs = std::weak_ptr(tabs)] { return tabs.lock(); });
        notifications = std::make_shared<KSLocalNotifications>(presentations, state);
        queuer = std::make_shared<KSPackageQueuer>(presentations);
        completion = std::make_shared<KSTaskCompletion>(presenter, notifications);
        notices = std::make_shared<KSApplicationNotices>(presentations, notifications, state);
        services = std::make_shared<ForwardingServices>(queuer, presentations);
        KSApplicationServices::registerServices(services);
        completion->startObserving();
        notices->startObserving();
    }

    // The topmost presented controller, once every transition has ended.
    std::shared_ptr<uikit::ViewController> shown() {
        testing_support::advanceClock(1);
        auto top = window_->topmostPresentedViewController();
        return top == presenter_ ? nullptr : top;
    }
    std::shared_ptr<uikit::AlertController> shownAlert() {
        return std::dynamic_pointer_cast<uikit::AlertController>(shown());
    }
    // What a presented navigation controller shows, or the presented controller itself.
    template <typename T>
    std::shared_ptr<T> shownScreen() {
        auto top = shown();
        if (auto navigation = std::dynamic_pointer_cast<uikit::NavigationController>(top))
            top = navigation->topViewController();
        return std::dynamic_pointer_cast<T>(top);
    }
    static std::vector<std::string> actionTitles(
        const std::shared_ptr<uikit::AlertController>& alert) {
        std::vector<std::string> titles;
        if (alert) {
            for (const auto& action : alert->actions())
                titles.push_back(action->title());
        }
        return titles;
    }

    // Counts the queue-state notifications of the identifier.
    std::shared_ptr<int> countQueueStatePosts(const std::string& identifier) {
        auto count = std::make_shared<int>(0);
        tokens_.push_back(foundation::NotificationCenter::defaultCenter().addObserver(
            KSRQueueStateNotificationName(identifier),
            [count](const foundation::Notification&) { ++*count; }));
        return count;
    }

    // Records which screens the factory was asked for.
    void registerRecordingScreens() {
        using Screen = KSScreenFactory::Screen;
        for (auto screen : {Screen::queueConfirmation, Screen::taskList, Screen::news,
                            Screen::packageList, Screen::website}) {
            KSScreenFactory::registerScreen(
                screen, [this, screen](const KSScreenFactory::Request& request) {
                    requestedScreens.emplace_back(screen, request);
                    return std::make_shared<uikit::ViewController>();
                });
        }
    }

    std::shared_ptr<KSTabBarController> tabs = std::make_shared<KSTabBarController>();
    std::shared_ptr<KSDelegateState> state = std::make_shared<KSDelegateState>();
    std::shared_ptr<KSPresenter> presenter;
    std::shared_ptr<KSPresentations> presentations;
    std::shared_ptr<KSLocalNotifications> notifications;
    std::shared_ptr<KSPackageQueuer> queuer;
    std::shared_ptr<KSTaskCompletion> completion;
    std::shared_ptr<KSApplicationNotices> notices;
    std::shared_ptr<ForwardingServices> services;
    std::vector<std::pair<KSScreenFactory::Screen, KSScreenFactory::Request>> requestedScreens;
    std::vector<foundation::ObservationToken> tokens_;
};

}  // namespace corvane::testing
