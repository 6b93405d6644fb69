#include <gtest/gtest.h>

#include <fstream>

#include "audio/AudioPlayer.h"
#include "audio/AudioSession.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"

using namespace audio;
using testing_support::advanceClock;

namespace {

std::string makeSound(const testing_support::TempDeviceRoot& root, const std::string& name) {
    std::string path = root.path() + "/" + name;
    std::ofstream(path) << "FORM";
    return path;
}

}  // namespace

TEST(AudioPlayer, DroppedPlayerFinishesOnTheClockAndEveryPlayIsRecorded) {
    testing_support::TempDeviceRoot root;
    std::string success = makeSound(root, "task_success.aiff");
    std::weak_ptr<AudioPlayer> dropped;
    {
        auto player = AudioPlayer::withContentsOfFile(success);
        ASSERT_TRUE(player.ok());
        dropped = *player;
        (*player)->play();
    }
    auto player = dropped.lock();
    ASSERT_TRUE(player) << "a playing player keeps itself alive";
    EXPECT_TRUE(player->isPlaying());
    EXPECT_EQ(player->duration(), AudioPlayer::kDefaultDuration);
    player.reset();

    advanceClock(0.4);
    ASSERT_FALSE(dropped.expired());
    EXPECT_TRUE(dropped.lock()->isPlaying());
    advanceClock(0.2);
    EXPECT_TRUE(dropped.expired()) << "a finished player lets itself go";

    std::string fail = makeSound(root, "task_fail.aiff");
    const auto failPlayer = AudioPlayer::withContentsOfFile(fail);
    ASSERT_TRUE(failPlayer.ok());
    (*failPlayer)->play();
    EXPECT_EQ(AudioPlayer::playedFiles(), (std::vector<std::string>{success, fail}));
}

TEST(AudioPlayer, PlayingAgainRestartsAndStopEndsAtOnce) {
    testing_support::TempDeviceRoot root;
    AudioPlayer::setDefaultDuration(2);
    auto opened = AudioPlayer::withContentsOfFile(makeSound(root, "a.aiff"));
    ASSERT_TRUE(opened.ok());
    auto player = std::move(*opened);
    EXPECT_EQ(player->duration(), 2);

    player->play();
    advanceClock(1.5);
    player->play();
    advanceClock(1.5);
    EXPECT_TRUE(player->isPlaying()) << "the first play's end must not end the second";
    advanceClock(1);
    EXPECT_FALSE(player->isPlaying());

    player->play();
    player->stop();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player.use_count(), 1) << "a stopped player no longer holds itself";
    EXPECT_EQ(AudioPlayer::playedFiles().size(), 3u);
}

TEST(AudioPlayer, MissingFileGivesAnErrorAndTheCategoryIsRemembered) {
    testing_support::TempDeviceRoot root;
    auto missing = AudioPlayer::withContentsOfFile(root.path() + "/missing.aiff");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().domain, kErrorDomain);
    EXPECT_EQ(missing.error().code, FileNotFound);
    EXPECT_FALSE(AudioPlayer::withContentsOfFile(root.path()).ok()) << "a folder is no sound";

    AudioSession::sharedInstance().setCategory(kCategoryAmbient);
    EXPECT_EQ(AudioSession::sharedInstance().category(), kCategoryAmbient);
}
