// A finished task as the user learns of it: the sounds, the error panel or the local
// notification with the text of the "Errors" table, and one report per error object.
#include "app/completion/KSTaskCompletion.h"

#include <gtest/gtest.h>

#include "app/completion/KSTaskErrorText.h"
#include "app/presentations/DelegatePartsFixture.h"
#include "audio/AudioPlayer.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSTaskError.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"
#include "usernotifications/UserNotificationCenter.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using usernotifications::UserNotificationCenter;

class KSTaskCompletionTest : public DelegatePartsFixture {
  protected:
    static void setPreference(const std::string& key, bool on) {
        CorvanePersistentPreferences::sharedInstance().setValue(on, key);
    }
    static foundation::Value errorValue(long code, foundation::Dictionary userInfo = {},
                                        std::string domain = KSTaskErrorText::kDomain) {
        return KSPipelineManager::errorValue(
            foundation::Error{std::move(domain), code, std::move(userInfo)});
    }
    static void finish(const foundation::Value& error,
                       const std::string& pipeline = KSPipelinePackageOperation) {
        foundation::NotificationCenter::defaultCenter().post(
            KSPipelineTaskFinishedNotification, {},
            foundation::Dictionary{{KSPipelineUserInfoTaskID, "task-1"},
                                   {KSPipelineUserInfoPipelineID, pipeline},
                                   {KSPipelineUserInfoSuccess, false},
                                   {KSPipelineUserInfoError, error}});
    }
    static void succeed(const std::string& pipeline) {
        foundation::NotificationCenter::defaultCenter().post(
            KSPipelineTaskFinishedNotification, {},
            foundation::Dictionary{{KSPipelineUserInfoPipelineID, pipeline},
                                   {KSPipelineUserInfoSuccess, true},
                                   {KSPipelineUserInfoError, foundation::Value::null()}});
    }
    std::shared_ptr<ErrorViewController> shownPanel() {
        return std::dynamic_pointer_cast<ErrorViewController>(shown());
    }
    void closePanel() {
        auto panel = shownPanel();
        ASSERT_TRUE(panel);
        ASSERT_TRUE(uikit::hands::tap(panel->closeBtn));
        advanceClock(1);
    }
    static void allowNotifications(bool allowed) {
        UserNotificationCenter::current().setAuthorizationAnswer(allowed);
    }
};

TEST_F(KSTaskCompletionTest, AFailedTaskShowsOnePanelWithTheErrorsTableText) {
    setPreference("ShowNotificationsInsteadOfErrorAlerts", false);
    auto error = errorValue(KSTaskError::kUnknownPackage, {{"packageID", "com.example.gone"}});
    finish(error);
    auto panel = shownPanel();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->titleTxt(), "Error");
    EXPECT_EQ(panel->errorTxt(), "\"com.example.gone\" is not offered by any of your sources.");
    EXPECT_EQ(panel->numberOfBtn(), 1);
    EXPECT_EQ(panel->closeBtnTxt(), "OK");
    EXPECT_EQ(panel->modalPresentationStyle(), uikit::ModalPresentationStyle::overFullScreen);
    closePanel();

    finish(error);
    EXPECT_EQ(shown(), nullptr) << "the same error object is reported once";

    finish(errorValue(KSTaskError::kUnknownPackage, {{"packageID", "com.example.gone"}}));
    EXPECT_TRUE(shownPanel()) << "a distinct error with the same code and text is reported";
}

TEST_F(KSTaskCompletionTest, ErrorTextsComeFromTheirOwnDescriptionTheTableOrTheFallback) {
    setPreference("ShowNotificationsInsteadOfErrorAlerts", false);
    const std::pair<foundation::Value, std::string> cases[] = {
        {errorValue(KSTaskError::kChecksumMismatch,
                    {{"package", "Cool Tweak"}, {"packageID", "com.example.cool"}}),
         "The download of \"Cool Tweak\" does not match its checksum."},
        {errorValue(KSTaskError::kNetwork, {{"NSLocalizedDescription", "Host is down"}}),
         "Host is down"},
        {errorValue(-1001, {}, "NSURLErrorDomain"),
         "The operation couldn't be completed. (NSURLErrorDomain error -1001.)"},
        {errorValue(350),
         "Corvane Error #350. Please report the error code to Kestrune at "
         "support@kestrune.example so we can provide a better description for it."},
        // The template wants a package the error does not name.
        {errorValue(KSTaskError::kSizeMismatch),
         "Corvane Error #305. Please report the error code to Kestrune at "
         "support@kestrune.example so we can provide a better description for it."},
        {foundation::Value::null(), "A task failed without telling why."},
    };
    for (const auto& [error, text] : cases) {
        finish(error);
        auto panel = shownPanel();
        ASSERT_TRUE(panel) << text;
        EXPECT_EQ(panel->errorTxt(), text);
        closePanel();
    }
}

TEST_F(KSTaskCompletionTest, WithNotificationsTheErrorIsNotifiedOnce) {
    setPreference("ShowNotificationsInsteadOfErrorAlerts", true);
    allowNotifications(true);
    notifications->registerToSendNotifications();
    advanceClock(0);
    auto error = errorValue(KSTaskError::kCancelled);
    finish(error);
    testing_support::pumpUntil(
        [] { return UserNotificationCenter::current().pendingRequests().size() == 1; });
    auto request = UserNotificationCenter::current().pendingRequests().at(0);
    EXPECT_EQ(request.content.title, "Error");
    EXPECT_EQ(request.content.body, "The task was cancelled.");
    EXPECT_EQ(request.content.badge, std::nullopt);
    EXPECT_EQ(request.trigger.timeInterval, 1.0);
    advanceClock(1);
    EXPECT_TRUE(UserNotificationCenter::current().pendingRequests().empty());
    EXPECT_EQ(UserNotificationCenter::current().deliveredNotifications().size(), 1u);

    finish(error);
    testing_support::pumpFor(0.2);
    advanceClock(0);
    EXPECT_TRUE(UserNotificationCenter::current().pendingRequests().empty());
    EXPECT_EQ(shown(), nullptr);
}

TEST_F(KSTaskCompletionTest, WithoutNotificationRightsTheErrorFallsBackToThePanel) {
    setPreference("ShowNotificationsInsteadOfErrorAlerts", true);
    allowNotifications(false);
    notifications->registerToSendNotifications();
    state->newsNotification = true;
    finish(errorValue(KSTaskError::kCancelled));
    testing_support::pumpUntil([this] { return shownPanel() != nullptr; });
    auto panel = shownPanel();
    ASSERT_TRUE(panel) << "never an \"Open News\" alert for an error";
    EXPECT_EQ(panel->errorTxt(), "The task was cancelled.");
    EXPECT_TRUE(UserNotificationCenter::current().pendingRequests().empty());
}

TEST_F(KSTaskCompletionTest, SoundsPlayOnlyForPackageOperations) {
    setPreference("ShowNotificationsInsteadOfErrorAlerts", false);
    setPreference("PlaySounds", true);
    succeed(KSPipelinePackageOperation);
    succeed("atp.install.ops");
    finish(errorValue(KSTaskError::kCancelled));
    closePanel();
    finish(errorValue(KSTaskError::kCancelled), KSPipelineSourceRefresh);
    auto played = audio::AudioPlayer::playedFiles();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_TRUE(played[0].ends_with("/task_success.aiff"));
    EXPECT_TRUE(played[1].ends_with("/task_fail.aiff"));
    EXPECT_TRUE(audio::AudioPlayer::withContentsOfFile(played[0]));

    setPreference("PlaySounds", false);
    succeed(KSPipelinePackageOperation);
    EXPECT_EQ(audio::AudioPlayer::playedFiles().size(), 2u);
}

}  // namespace
}  // namespace corvane::testing
