// The video player as the package page uses it, and as any client drives it: the page it builds,
// the identifiers it refuses, the script it sends and the navigations it lets through.
#include "screens/video/YTPlayerView.h"

#include <gtest/gtest.h>

#include "foundation/JSON.h"
#include "support/MainLoop.h"
#include "uikit/Application.h"

namespace corvane {
namespace {

using foundation::URL;
using foundation::Value;

class RecordingPlayerDelegate : public YTPlayerViewDelegate {
  public:
    void playerViewDidBecomeReady(YTPlayerView&) override { events.push_back("ready"); }
    void playerView(YTPlayerView&, YTPlayerState state) override { states.push_back(state); }
    void playerView(YTPlayerView&, YTPlayerError error) override { errors.push_back(error); }
    std::shared_ptr<uikit::View> playerViewPreferredInitialLoadingView(YTPlayerView&) override {
        return loading;
    }

    std::vector<std::string> events;
    std::vector<YTPlayerState> states;
    std::vector<YTPlayerError> errors;
    std::shared_ptr<uikit::View> loading = std::make_shared<uikit::View>();
};

class YTPlayerViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        opener_ = uikit::Application::shared().setURLOpener([this](const std::string& url) {
            opened.push_back(url);
            return true;
        });
    }
    void TearDown() override { testing_support::advanceClock(1); }

    void awaitPage() {
        EXPECT_TRUE(testing_support::pumpUntil(
            [&] { return player->webView()->document() && !player->webView()->isLoading(); }));
    }
    // The parameters the page was built with, read back from its script.
    Value renderedParameters() {
        EXPECT_TRUE(player->webView());
        auto document = player->webView()->document();
        if (!document)
            return {};
        for (const auto& script : document->querySelectorAll("script")) {
            const std::string text = script.textContent();
            const std::string start = "new YT.Player('player', ";
            auto at = text.find(start);
            if (at == std::string::npos)
                continue;
            at += start.size();
            auto end = text.find(");", at);
            auto parsed = foundation::JSON::parse(text.substr(at, end - at));
            EXPECT_TRUE(parsed);
            return parsed ? *parsed : Value();
        }
        ADD_FAILURE() << "no player script";
        return {};
    }
    bool navigate(const std::string& address) {
        auto url = URL::withString(address);
        EXPECT_TRUE(url) << address;
        if (!url)
            return false;
        return player->shouldStartLoadWithRequest(*player->webView(), foundation::URLRequest(*url),
                                                  webkit::NavigationType::linkActivated);
    }

    std::shared_ptr<YTPlayerView> player =
        std::make_shared<YTPlayerView>(uikit::Rect{0, 0, 320, 180});
    std::shared_ptr<RecordingPlayerDelegate> delegate = std::make_shared<RecordingPlayerDelegate>();
    std::vector<std::string> opened;

  private:
    foundation::ObservationToken opener_;
};

TEST_F(YTPlayerViewTest, AVideoLoadBuildsThePageFromTheTemplateWithItsParameters) {
    player->setDelegate(delegate);
    ASSERT_TRUE(player->loadWithVideoId("dQw4w9WgXcQ&t=30#later"));
    awaitPage();
    ASSERT_TRUE(player->webView());
    EXPECT_EQ(player->webView()->superview().get(), player.get());
    ASSERT_TRUE(player->webView()->url());
    EXPECT_EQ(player->webView()->url()->absoluteString(), "about:blank");
    EXPECT_TRUE(player->webView()->allowsInlineMediaPlayback());
    EXPECT_FALSE(player->webView()->mediaPlaybackRequiresUserAction());
    const Value parameters = renderedParameters();
    EXPECT_EQ(parameters["videoId"].stringValue(), "dQw4w9WgXcQ") << "cut at & and #";
    EXPECT_TRUE(parameters["playerVars"].isDictionary());
    EXPECT_EQ(parameters["playerVars"].count(), 0u);
    EXPECT_EQ(parameters["height"].stringValue(), "100%");
    EXPECT_EQ(parameters["width"].stringValue(), "100%");
    EXPECT_EQ(parameters["events"]["onError"].stringValue(), "onPlayerError");
    EXPECT_EQ(parameters.count(), 5u);
    EXPECT_EQ(delegate->loading->superview().get(), player.get()) << "the placeholder shows";

    EXPECT_FALSE(navigate("ytplayer://onReady"));
    EXPECT_EQ(delegate->events, std::vector<std::string>{"ready"});
    EXPECT_FALSE(delegate->loading->superview()) << "gone once the player is ready";
}

TEST_F(YTPlayerViewTest, HostileIdentifiersAndVariablesNeverBecomeScriptOrMarkup) {
    auto first = player->webView();
    for (const char* hostile : {"", "&t=3", "abc'); alert(1); ('", "a b", "</script>", "id\"x"})
        EXPECT_FALSE(player->loadWithVideoId(hostile)) << hostile;
    EXPECT_EQ(player->webView(), first) << "nothing was loaded";
    EXPECT_FALSE(player->loadWithPlaylistId("PL<x>"));

    const Value variables(
        Value::Dictionary{{"title", Value("</script><script>alert('x')</script>&amp;")},
                          {"note", Value("<!--<script")},
                          {"format", Value("%@ %s %d%%")},
                          {"origin", Value("javascript:alert(1)")}});
    ASSERT_TRUE(player->loadWithVideoId("abc_-1", variables));
    awaitPage();
    auto document = player->webView()->document();
    ASSERT_TRUE(document);
    EXPECT_EQ(document->querySelectorAll("script").size(), 3u) << "no script element added";
    for (const auto& script : document->querySelectorAll("script"))
        EXPECT_EQ(script.textContent().find("</"), std::string::npos)
            << "every script ends where the template ends it";
    const Value parameters = renderedParameters();
    EXPECT_EQ(parameters["playerVars"]["title"].stringValue(),
              "</script><script>alert('x')</script>&amp;")
        << "the script reads the text back unchanged";
    EXPECT_EQ(parameters["playerVars"]["note"].stringValue(), "<!--<script");
    EXPECT_EQ(parameters["playerVars"]["format"].stringValue(), "%@ %s %d%%")
        << "placed as it is, never read as a format";
    EXPECT_EQ(player->originURL()->absoluteString(), "about:blank") << "no script origin";

    // A playlist: the caller's variables win on equal keys.
    ASSERT_TRUE(player->loadWithPlaylistId(
        "PLx", Value(Value::Dictionary{{"list", Value("PLmine")}, {"loop", Value(1)}})));
    awaitPage();
    const Value playlist = renderedParameters();
    EXPECT_EQ(playlist["playerVars"]["list"].stringValue(), "PLmine");
    EXPECT_EQ(playlist["playerVars"]["listType"].stringValue(), "playlist");
    EXPECT_FALSE(playlist.contains("videoId"));
}

TEST_F(YTPlayerViewTest, ScriptCallsCarryTheirTextsAsStrings) {
    ASSERT_TRUE(player->loadWithVideoId("abc"));
    std::vector<std::string> scripts;
    std::string answer;
    player->webView()->setScriptHook([&](const std::string& script) {
        scripts.push_back(script);
        return answer;
    });
    player->cueVideoById("x'); evil('", 12.5f, YTPlaybackQuality::hd720);
    player->loadPlaylistByVideos({"a", "b\"c"}, 2, 0, YTPlaybackQuality::autoQuality);
    player->seekToSeconds(3, true);
    EXPECT_EQ(scripts[0], "player.cueVideoById(\"x'); evil('\", 12.5, \"hd720\");");
    EXPECT_EQ(scripts[1], "player.loadPlaylist([\"a\",\"b\\\"c\"], 2, 0, \"auto\");");
    EXPECT_EQ(scripts[2], "player.seekTo(3, true);");

    answer = "hd720,large,auto";
    auto levels = player->availableQualityLevels();
    ASSERT_TRUE(levels);
    EXPECT_EQ(*levels,
              (std::vector<YTPlaybackQuality>{YTPlaybackQuality::hd720, YTPlaybackQuality::large,
                                              YTPlaybackQuality::autoQuality}));
    answer = "1";
    EXPECT_EQ(player->playerState(), YTPlayerState::playing);
    answer = "not json";
    EXPECT_FALSE(player->availablePlaybackRates());
    EXPECT_EQ(YTPlayerView::stringForPlaybackQuality(YTPlaybackQuality::defaultQuality), "unknown");
    EXPECT_EQ(YTPlayerView::playbackQualityForString("HD720"), YTPlaybackQuality::unknown);
}

TEST_F(YTPlayerViewTest, EventsReachTheDelegateAndOnlyThePlayersPagesLoadInside) {
    player->setDelegate(delegate);
    ASSERT_TRUE(player->loadWithVideoId("abc"));
    EXPECT_FALSE(navigate("ytplayer://onStateChange?data=1"));
    EXPECT_FALSE(navigate("ytplayer://onStateChange?data=4"));
    EXPECT_FALSE(navigate("ytplayer://onError?data=150"));
    EXPECT_FALSE(navigate("ytplayer://onError?data=105"));
    EXPECT_EQ(delegate->states,
              (std::vector<YTPlayerState>{YTPlayerState::playing, YTPlayerState::unknown}));
    EXPECT_EQ(delegate->errors, (std::vector<YTPlayerError>{YTPlayerError::notEmbeddable,
                                                            YTPlayerError::videoNotFound}));
    player->webView()->setScriptHook([](const std::string&) { return std::string(); });
    player->pauseVideo();
    EXPECT_EQ(delegate->states.back(), YTPlayerState::paused);

    EXPECT_TRUE(navigate("https://www.video.example.org/embed/abc?autoplay=1"));
    EXPECT_TRUE(navigate("https://content.video-api.example.org/static/proxy.html#x"));
    EXPECT_FALSE(navigate("https://example.org/elsewhere"));
    EXPECT_FALSE(navigate("http://www.video.example.org/embed/abc")) << "https only";
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/elsewhere",
                                                "http://www.video.example.org/embed/abc"}));
    EXPECT_TRUE(navigate("about:blank"));
    EXPECT_FALSE(navigate("file:///etc/passwd"));
    EXPECT_FALSE(navigate("javascript:alert(1)"));
    EXPECT_EQ(opened.size(), 2u) << "other schemes are never handed out";
}

}  // namespace
}  // namespace corvane
