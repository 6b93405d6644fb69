#pragma once

#include <memory>
#include <optional>

#include "uikit/Color.h"
#include "uikit/View.h"

namespace corvane {

class YTPlayerView;

// The player's state; the player page's text for each is in YTPlayerView.
enum class YTPlayerState { unstarted, ended, playing, paused, buffering, queued, unknown };
// 7 is never produced by reading the page's text: an unknown text gives unknown.
enum class YTPlaybackQuality {
    small,
    medium,
    large,
    hd720,
    hd1080,
    highRes,
    autoQuality,
    defaultQuality,
    unknown
};
enum class YTPlayerError { invalidParam, html5Error, videoNotFound, notEmbeddable, unknown };

// Hears the player's events; every method is optional.
class YTPlayerViewDelegate {
  public:
    virtual ~YTPlayerViewDelegate() = default;

    virtual void playerViewDidBecomeReady(YTPlayerView& playerView) {}
    virtual void playerView(YTPlayerView& playerView, YTPlayerState state) {}
    virtual void playerView(YTPlayerView& playerView, YTPlaybackQuality quality) {}
    virtual void playerView(YTPlayerView& playerView, YTPlayerError error) {}
    virtual void playerViewDidPlayTime(YTPlayerView& playerView, float playTime) {}
    // The background of each new web view; nothing keeps the web view's own.
    virtual std::optional<uikit::Color> playerViewPreferredWebViewBackgroundColor(
        YTPlayerView& playerView) {
        return std::nullopt;
    }
    // Shown over the player from a successful load until it is ready; null for none.
    virtual std::shared_ptr<uikit::View> playerViewPreferredInitialLoadingView(
        YTPlayerView& playerView) {
        return nullptr;
    }
};

}  // namespace corvane
