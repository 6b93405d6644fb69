#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/URL.h"
#include "foundation/Value.h"
#include "screens/video/YTPlayerViewDelegate.h"
#include "uikit/View.h"
#include "webkit/LegacyWebView.h"
#include "webkit/LegacyWebViewDelegate.h"

namespace corvane {

// Plays a video of the video service inside a page: the service's embedded player runs in a
// web view from the template "Assets/YTPlayerView-iframe-player.html", with the parameters as
// JSON; it is driven by script calls on the page's global `player`, and its events come back as
// navigations to "ytplayer://<event>?data=<value>", which become delegate calls. Of other
// navigations, the player's own pages load, other web pages open outside the application, and
// everything else but "about:" is refused.
//
// Identifiers and texts come from repositories: a video or playlist identifier is read up to
// the first "&" or "#" and must then be letters, digits, "_" and "-" only, or nothing is
// loaded; every text handed to the page's script is a JSON string, and the JSON placed in the
// page cannot close its script element. Main thread.
class YTPlayerView : public uikit::View, public webkit::LegacyWebViewDelegate {
  public:
    static constexpr const char* kTemplateName = "YTPlayerView-iframe-player";
    static constexpr const char* kTemplateDirectory = "Assets";
    static constexpr const char* kPlaceholder = "%@";
    static constexpr const char* kCallbackScheme = "ytplayer";

    using uikit::View::View;

    const std::shared_ptr<webkit::LegacyWebView>& webView() const { return webView_; }
    std::shared_ptr<YTPlayerViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<YTPlayerViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    const std::optional<foundation::URL>& originURL() const { return originURL_; }
    std::shared_ptr<uikit::View> initialLoadingView() const { return initialLoadingView_.lock(); }

    // Loads: true when the page was handed to the web view.
    bool loadWithVideoId(const std::string& videoId,
                         const foundation::Value& playerVars = foundation::Value());
    bool loadWithPlaylistId(const std::string& playlistId,
                            const foundation::Value& playerVars = foundation::Value());
    bool loadWithPlayerParams(const foundation::Value& additionalPlayerParams);

    // Player control.
    void playVideo();
    // The delegate hears the paused state before the player is asked to pause.
    void pauseVideo();
    void stopVideo();
    void seekToSeconds(float seconds, bool allowSeekAhead);
    void cueVideoById(const std::string& videoId, float startSeconds,
                      YTPlaybackQuality suggestedQuality);
    void cueVideoById(const std::string& videoId, float startSeconds, float endSeconds,
                      YTPlaybackQuality suggestedQuality);
    void loadVideoById(const std::string& videoId, float startSeconds,
                       YTPlaybackQuality suggestedQuality);
    void loadVideoById(const std::string& videoId, float startSeconds, float endSeconds,
                       YTPlaybackQuality suggestedQuality);
    void cueVideoByURL(const std::string& videoURL, float startSeconds,
                       YTPlaybackQuality suggestedQuality);
    void cueVideoByURL(const std::string& videoURL, float startSeconds, float endSeconds,
                       YTPlaybackQuality suggestedQuality);
    void loadVideoByURL(const std::string& videoURL, float startSeconds,
                        YTPlaybackQuality suggestedQuality);
    void loadVideoByURL(const std::string& videoURL, float startSeconds, float endSeconds,
                        YTPlaybackQuality suggestedQuality);
    void cuePlaylistByPlaylistId(const std::string& playlistId, int index, float startSeconds,
                                 YTPlaybackQuality suggestedQuality);
    void cuePlaylistByVideos(const std::vector<std::string>& videoIds, int index,
                             float startSeconds, YTPlaybackQuality suggestedQuality);
    void loadPlaylistByPlaylistId(const std::string& playlistId, int index, float startSeconds,
                                  YTPlaybackQuality suggestedQuality);
    void loadPlaylistByVideos(const std::vector<std::string>& videoIds, int index,
                              float startSeconds, YTPlaybackQuality suggestedQuality);
    float playbackRate();
    void setPlaybackRate(float suggestedRate);
    // Nothing when the answer is no JSON array.
    std::optional<foundation::Value> availablePlaybackRates();
    void setLoop(bool loop);
    void setShuffle(bool shuffle);
    float videoLoadedFraction();
    YTPlayerState playerState();
    float currentTime();
    YTPlaybackQuality playbackQuality();
    void setPlaybackQuality(YTPlaybackQuality suggestedQuality);
    double duration();
    std::optional<foundation::URL> videoUrl();
    std::optional<std::string> videoEmbedCode();
    std::optional<foundation::Value> playlist();
    int playlistIndex();
    void nextVideo();
    void previousVideo();
    void playVideoAt(int index);
    // Nothing when the page gives no answer.
    std::optional<std::vector<YTPlaybackQuality>> availableQualityLevels();

    // The page's texts of states and qualities, compared exactly.
    static YTPlaybackQuality playbackQualityForString(const std::string& text);
    static std::string stringForPlaybackQuality(YTPlaybackQuality quality);
    static YTPlayerState playerStateForString(const std::string& text);
    static std::string stringForPlayerState(YTPlayerState state);
    static YTPlayerError playerErrorForString(const std::string& text);
    // A script array of script strings.
    static std::string stringFromVideoIdArray(const std::vector<std::string>& videoIds);
    static std::string stringForJSBoolean(bool value) { return value ? "true" : "false"; }
    // The identifier up to the first "&" or "#", when what is left is a valid identifier.
    static std::optional<std::string> sanitizedIdentifier(const std::string& identifier);

    void removeWebView();

    // webkit::LegacyWebViewDelegate
    bool shouldStartLoadWithRequest(webkit::LegacyWebView& webView,
                                    const foundation::URLRequest& request,
                                    webkit::NavigationType navigationType) override;
    void didFailLoadWithError(webkit::LegacyWebView& webView,
                              const foundation::Error& error) override;

  protected:
    std::string describeSelf() const override { return "YTPlayerView"; }

  private:
    void createNewWebView();
    std::optional<std::string> pageWithParameters(const foundation::Value& parameters);
    void showInitialLoadingView();
    void notifyDelegateOfYouTubeCallbackUrl(const foundation::URL& url);
    bool handleHttpNavigationToUrl(const foundation::URL& url);
    void removeInitialLoadingView();
    std::optional<std::string> stringFromEvaluatingJavaScript(const std::string& script);
    // "player.<function>(video, start[, end], quality);" with the texts as script strings.
    void callWithVideo(const char* function, const std::string& video, float startSeconds,
                       std::optional<float> endSeconds, YTPlaybackQuality suggestedQuality);
    void callWithVideoObject(const char* function, const std::string& videoId, float startSeconds,
                             float endSeconds, YTPlaybackQuality suggestedQuality);
    void cuePlaylist(const std::string& quotedList, int index, float startSeconds,
                     YTPlaybackQuality suggestedQuality, const char* function);

    std::shared_ptr<webkit::LegacyWebView> webView_;
    std::weak_ptr<YTPlayerViewDelegate> delegate_;
    std::optional<foundation::URL> originURL_;
    std::weak_ptr<uikit::View> initialLoadingView_;
};

}  // namespace corvane
