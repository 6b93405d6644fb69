#include "app/urls/KSURLSchemeTask.h"

#include <algorithm>

#include "app/urls/KSURLSchemeAlerts.h"
#include "app/urls/KSURLSchemeGrammar.h"
#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/links/KSLoggedURL.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"
#include "framework/storage/KSRSourceAddress.h"
#include "framework/webservice/KSSearchDeveloper.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/Device.h"
#include "uikit/NavigationController.h"

namespace corvane {

using Action = KSURLSchemeRequest::Action;
using Outcome = KSSourceAddition::Outcome;

namespace {

KSSourceAddition::Presenting presenting(const std::shared_ptr<KSPresenter>& presenter) {
    return [presenter](const std::shared_ptr<uikit::ViewController>& alert) {
        return presenter->presentViewController(alert);
    };
}

}  // namespace

KSURLSchemeTask::KSURLSchemeTask(std::shared_ptr<KSPresenter> presenter,
                                 TabControllerSource tabController, KSBackgroundWork work)
    : presenter_(std::move(presenter)), tabController_(std::move(tabController)), work_(work) {}

void KSURLSchemeTask::doQueuedSchemeTask() {
    if (!url_)
        return;
    const auto link = KSLoggedURL::text(url_->absoluteString());
    auto request = KSURLSchemeGrammar::parse(*url_);
    if (!request) {
        KSLog("Ignored the URL \"%@\": %@", link, request.error().localizedDescription());
        return;
    }
    switch (request->action) {
        case Action::addRepository:
            if (auto location = storedSourceLocation(request->repository))
                repoAlreadyAdded(*location, link);
            else
                addRepoAlert(request->repository, link);
            break;
        case Action::showPackage:
            showPackageAlert(
                request->packageName, request->packageIdentifier, request->repository,
                !request->repository.empty() && !storedSourceLocation(request->repository), link);
            break;
        case Action::showDeveloper:
            showDeveloper(request->developerName, link);
            break;
    }
}

std::optional<std::string> KSURLSchemeTask::storedSourceLocation(const std::string& address) {
    auto location = KSRSourceAddress::normalised(address);
    if (!location)
        return std::nullopt;
    auto realm = KSDatabase::realm();
    for (const auto& candidate : {*location, KSRSourceAddress::withOtherScheme(*location)}) {
        if (realm.objectForPrimaryKey<KSRSource>(candidate))
            return candidate;
    }
    return std::nullopt;
}

void KSURLSchemeTask::repoAlreadyAdded(const std::string& location, const std::string& link) {
    KSScreenFactory::Request request;
    request.sourceLocation = location;
    request.isPresented = true;
    present(KSScreenFactory::make(KSScreenFactory::Screen::sourcePage, request), link);
}

void KSURLSchemeTask::addRepoAlert(const std::string& address, const std::string& link) {
    std::weak_ptr<KSURLSchemeTask> weakSelf = weak_from_this();
    presenter_->presentViewController(
        KSURLSchemeAlerts::addRepository(address, [weakSelf, address, link] {
            if (auto self = weakSelf.lock())
                self->addSourceWithURL(address, link);
        }));
}

void KSURLSchemeTask::addSourceWithURL(const std::string& address, const std::string& link) {
    const auto title = foundation::localized("Add repository");
    auto addition = std::make_shared<KSSourceAddition>(presenting(presenter_), title, address);
    additions_.push_back(addition);
    std::weak_ptr<KSURLSchemeTask> weakSelf = weak_from_this();
    std::weak_ptr<KSSourceAddition> weakAddition = addition;
    addition->start(
        [weakSelf, weakAddition, title, link](Outcome outcome, const std::string& message) {
            auto self = weakSelf.lock();
            if (!self)
                return;
            self->forgetAddition(weakAddition.lock());
            if (outcome == Outcome::refused)
                self->refuse(title, message, link);
        });
}

void KSURLSchemeTask::forgetAddition(const std::shared_ptr<KSSourceAddition>& addition) {
    std::erase(additions_, addition);
}

void KSURLSchemeTask::showPackageAlert(const std::optional<std::string>& name,
                                       const std::string& identifier, const std::string& address,
                                       bool addFirst, const std::string& link) {
    if (!addFirst)
        return showPackage(identifier, link);
    std::weak_ptr<KSURLSchemeTask> weakSelf = weak_from_this();
    presenter_->presentViewController(KSURLSchemeAlerts::addRepositoryToShowPackage(
        address, name, [weakSelf, identifier, address, link] {
            if (auto self = weakSelf.lock())
                self->waitForRepository(identifier, address, link);
        }));
}

void KSURLSchemeTask::waitForRepository(const std::string& identifier, const std::string& address,
                                        const std::string& link) {
    auto addition = std::make_shared<KSSourceAddition>(
        presenting(presenter_), foundation::localized("Show package"), address);
    pendingShow_ = PendingShow{identifier, addition, link};
    std::weak_ptr<KSURLSchemeTask> weakSelf = weak_from_this();
    std::weak_ptr<KSSourceAddition> weakAddition = addition;
    addition->start([weakSelf, weakAddition](Outcome outcome, const std::string& message) {
        auto self = weakSelf.lock();
        auto addition = weakAddition.lock();
        if (self && addition)
            self->repositoryAdded(addition, outcome, message);
    });
}

// Only the request still pending goes on: a later one has replaced an earlier one.
void KSURLSchemeTask::repositoryAdded(const std::shared_ptr<KSSourceAddition>& addition,
                                      Outcome outcome, const std::string& message) {
    if (!pendingShow_ || pendingShow_->addition != addition)
        return;
    const auto pending = *std::exchange(pendingShow_, std::nullopt);
    if (outcome == Outcome::refused) {
        refuse(foundation::localized("Show package"), message, pending.link);
    } else if (outcome == Outcome::refreshed) {
        std::weak_ptr<KSURLSchemeTask> weakSelf = weak_from_this();
        foundation::runOnMainAfter(kShowPackageDelaySeconds, [weakSelf, pending] {
            if (auto self = weakSelf.lock())
                self->showPackageAlertDelayed(pending.identifier, pending.link);
        });
    }
}

void KSURLSchemeTask::showPackageAlertDelayed(const std::string& identifier,
                                              const std::string& link) {
    showPackageAlert(std::nullopt, identifier, "", false, link);
}

void KSURLSchemeTask::showPackage(const std::string& identifier, const std::string& link) {
    if (!KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier)) {
        KSLog("Nothing was shown for the URL \"%@\": the package %@ does not exist", link,
              identifier);
        presenter_->presentViewController(KSURLSchemeAlerts::packageDoesNotExist());
        return;
    }
    KSScreenFactory::Request request;
    request.packageIdentifier = identifier;
    request.isPresented = true;
    present(KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request), link);
}

void KSURLSchemeTask::showDeveloper(const std::string& name, const std::string& link) {
    std::weak_ptr<KSURLSchemeTask> weakSelf = weak_from_this();
    KSSearchDeveloper::instance()->searchDeveloper(
        name, [weakSelf, name, link, done = work_.begin()](const auto& developers) {
            foundation::runOnMain([weakSelf, name, link, developers, done] {
                if (auto self = weakSelf.lock())
                    self->developerSearched(name, developers, link);
                done();
            });
        });
}

// The search screen picks the stored name up when it appears.
void KSURLSchemeTask::developerSearched(const std::string& name,
                                        const std::vector<KSDeveloperProfile>& developers,
                                        const std::string& link) {
    if (developers.empty()) {
        CorvanePersistentPreferences::sharedInstance().setValue(name, "SearchDeveloper");
        if (auto tabs = tabController_ ? tabController_() : nullptr)
            tabs->setSelectedIndex(KSTabBarController::kSearchTabIndex);
        return;
    }
    KSScreenFactory::Request request;
    request.developerProfile = developers.front();
    request.isPresented = true;
    present(KSScreenFactory::make(KSScreenFactory::Screen::developerDetails, request), link);
}

void KSURLSchemeTask::refuse(const std::string& title, const std::string& message,
                             const std::string& link) {
    KSLog("Refused the URL \"%@\": %@", link, message);
    presenter_->presentViewController(KSURLSchemeAlerts::refusal(title, message));
}

// Modally in a navigation controller of its own, a form sheet on a pad. The package page comes
// already inside one.
void KSURLSchemeTask::present(const std::shared_ptr<uikit::ViewController>& controller,
                              const std::string& link) {
    if (!controller) {
        KSLog("Nothing was shown for the URL \"%@\"", link);
        return;
    }
    auto navigation = std::dynamic_pointer_cast<uikit::NavigationController>(controller);
    if (!navigation)
        navigation = uikit::NavigationController::create(controller);
    if (uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad)
        navigation->setModalPresentationStyle(uikit::ModalPresentationStyle::formSheet);
    presenter_->presentViewController(navigation);
}

}  // namespace corvane
