#include "screens/video/YTPlayerView.h"

#include <array>
#include <cmath>
#include <regex>
#include <utility>

#include "foundation/Bundle.h"
#include "foundation/FileManager.h"
#include "foundation/JSON.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/network/KSFetchableURL.h"
#include "uikit/Application.h"

namespace corvane {

namespace {

using foundation::Value;

constexpr std::array<const char*, 7> kQualityTexts = {"small",  "medium",  "large", "hd720",
                                                      "hd1080", "highres", "auto"};
constexpr std::array<const char*, 6> kStateTexts = {"-1", "0", "1", "2", "3", "5"};

// The player's own pages, which load inside the web view: its embeds, ad conversions and
// syndication frames, its account's sign-in and its API's proxy page.
const std::array<std::regex, 5>& allowedPages() {
    constexpr auto flags = std::regex::icase | std::regex::ECMAScript;
    static const std::array<std::regex, 5> patterns = {
        std::regex(R"(^https://www\.video\.example\.org/embed/.*)", flags),
        std::regex(R"(^https://pagead\.video-ads\.example\.org/pagead/conversion/)", flags),
        std::regex(R"(^https://tpc\.ad-syndication\.example\.org/sodar/.*\.html$)", flags),
        std::regex(R"(^https://accounts\.video-accounts\.example\.org/o/oauth2/)", flags),
        std::regex(R"(^https://content\.video-api\.example\.org/static/proxy\.html.*)", flags),
    };
    return patterns;
}

// A JSON string: whatever the text holds, it stays one string of the script.
std::string scriptString(const std::string& text) {
    return foundation::JSON::serialize(Value(text));
}

std::string scriptNumber(double number) {
    return Value(std::isfinite(number) ? number : 0.0).stringValue();
}

std::string qualityString(YTPlaybackQuality quality) {
    return scriptString(YTPlayerView::stringForPlaybackQuality(quality));
}

// JSON that may stand inside a script element: "<", ">" and "&" appear only inside strings,
// where their escapes mean the same.
std::string embeddableJSON(const Value& value) {
    std::string json = foundation::JSON::serialize(value, true);
    json = foundation::replace(json, "<", "\\u003c");
    json = foundation::replace(json, ">", "\\u003e");
    return foundation::replace(json, "&", "\\u0026");
}

float floatFrom(const std::optional<std::string>& text) {
    if (!text)
        return 0;
    try {
        return std::stof(*text);
    } catch (const std::exception&) {
        return 0;
    }
}

std::optional<Value> jsonArray(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    auto parsed = foundation::JSON::parse(*text);
    if (!parsed || !parsed->isArray())
        return std::nullopt;
    return *parsed;
}

Value::Dictionary eventHandlers() {
    return {{"onReady", Value("onReady")},
            {"onStateChange", Value("onStateChange")},
            {"onPlaybackQualityChange", Value("onPlaybackQualityChange")},
            {"onError", Value("onPlayerError")}};
}

}  // namespace

std::optional<std::string> YTPlayerView::sanitizedIdentifier(const std::string& identifier) {
    std::string cut = identifier.substr(0, identifier.find_first_of("&#"));
    static const std::regex valid("^[A-Za-z0-9_-]+$");
    if (!std::regex_match(cut, valid))
        return std::nullopt;
    return cut;
}

bool YTPlayerView::loadWithVideoId(const std::string& videoId, const Value& playerVars) {
    auto identifier = sanitizedIdentifier(videoId);
    if (!identifier) {
        KSLog("Refused to load the video \"%@\": not a video identifier", videoId);
        return false;
    }
    Value::Dictionary parameters = {
        {"videoId", Value(*identifier)},
        {"playerVars", playerVars.isDictionary() ? playerVars : Value(Value::Dictionary{})}};
    return loadWithPlayerParams(Value(std::move(parameters)));
}

bool YTPlayerView::loadWithPlaylistId(const std::string& playlistId, const Value& playerVars) {
    auto identifier = sanitizedIdentifier(playlistId);
    if (!identifier) {
        KSLog("Refused to load the playlist \"%@\": not a playlist identifier", playlistId);
        return false;
    }
    Value::Dictionary variables = {{"listType", Value("playlist")}, {"list", Value(*identifier)}};
    for (const auto& [key, value] : playerVars.dictionary())
        variables[key] = value;
    return loadWithPlayerParams(Value(Value::Dictionary{{"playerVars", Value(variables)}}));
}

bool YTPlayerView::loadWithPlayerParams(const Value& additionalPlayerParams) {
    Value::Dictionary parameters = additionalPlayerParams.dictionary();
    parameters.try_emplace("height", Value("100%"));
    parameters.try_emplace("width", Value("100%"));
    parameters["events"] = Value(eventHandlers());
    if (auto variables = parameters.find("playerVars"); variables != parameters.end()) {
        auto origin = foundation::URL::withString(variables->second["origin"].stringValue());
        const bool web = origin && KSFetchableURL::isFetchable(*origin);
        originURL_ = web ? origin : foundation::URL::withString("about:blank");
    } else {
        parameters["playerVars"] = Value(Value::Dictionary{});
    }

    removeWebView();
    createNewWebView();
    auto page = pageWithParameters(Value(std::move(parameters)));
    if (!page)
        return false;
    webView_->setDelegate(std::static_pointer_cast<YTPlayerView>(shared_from_this()));
    webView_->setAllowsInlineMediaPlayback(true);
    webView_->setMediaPlaybackRequiresUserAction(false);
    webView_->loadHTMLString(std::move(*page), originURL_);
    showInitialLoadingView();
    return true;
}

std::optional<std::string> YTPlayerView::pageWithParameters(const Value& parameters) {
    auto path = foundation::Bundle::pathForResource(kTemplateName, "html", kTemplateDirectory);
    auto text = path ? foundation::FileManager::readText(*path)
                     : foundation::Result<std::string>(foundation::Error::make(
                           foundation::FileManager::kErrorDomain,
                           foundation::FileManager::kReadNoSuchFile, "The template is missing."));
    if (!text) {
        KSLog("Received error rendering template: %@", text.error().localizedDescription());
        return std::nullopt;
    }
    std::string page = std::move(*text);
    const auto placeholder = page.find(kPlaceholder);
    if (placeholder == std::string::npos) {
        KSLog("Received error rendering template: %@", "the template has no placeholder");
        return std::nullopt;
    }
    return page.replace(placeholder, std::string_view(kPlaceholder).size(),
                        embeddableJSON(parameters));
}

void YTPlayerView::createNewWebView() {
    webView_ = std::make_shared<webkit::LegacyWebView>(bounds());
    webView_->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                  uikit::Autoresizing::flexibleHeight);
    webView_->scrollView()->setScrollEnabled(false);
    webView_->scrollView()->setBounces(false);
    if (auto delegate = delegate_.lock()) {
        if (auto color = delegate->playerViewPreferredWebViewBackgroundColor(*this)) {
            webView_->setBackgroundColor(color);
            if (*color == uikit::Color::clear())
                webView_->setOpaque(false);
        }
    }
    addSubview(webView_);
}

void YTPlayerView::removeWebView() {
    if (webView_)
        webView_->removeFromSuperview();
    webView_ = nullptr;
}

void YTPlayerView::showInitialLoadingView() {
    auto delegate = delegate_.lock();
    auto loading = delegate ? delegate->playerViewPreferredInitialLoadingView(*this) : nullptr;
    if (!loading)
        return;
    loading->setFrame(bounds());
    loading->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                 uikit::Autoresizing::flexibleHeight);
    addSubview(loading);
    initialLoadingView_ = loading;
}

void YTPlayerView::removeInitialLoadingView() {
    if (auto loading = initialLoadingView_.lock())
        loading->removeFromSuperview();
}

bool YTPlayerView::shouldStartLoadWithRequest(webkit::LegacyWebView&,
                                              const foundation::URLRequest& request,
                                              webkit::NavigationType) {
    const foundation::URL& url = request.url;
    if (originURL_ && !originURL_->host().empty() && url.host() == originURL_->host())
        return true;
    if (url.scheme() == kCallbackScheme) {
        notifyDelegateOfYouTubeCallbackUrl(url);
        return false;
    }
    if (KSFetchableURL::isFetchable(url))
        return handleHttpNavigationToUrl(url);
    return url.scheme() == "about";
}

void YTPlayerView::didFailLoadWithError(webkit::LegacyWebView&, const foundation::Error&) {
    removeInitialLoadingView();
}

bool YTPlayerView::handleHttpNavigationToUrl(const foundation::URL& url) {
    for (const auto& pattern : allowedPages())
        if (std::regex_search(url.absoluteString(), pattern))
            return true;
    uikit::Application::shared().openURL(url);
    return false;
}

void YTPlayerView::notifyDelegateOfYouTubeCallbackUrl(const foundation::URL& url) {
    const std::string& event = url.host();
    std::string data;
    if (url.query()) {
        auto parts = foundation::split(*url.query(), "=");
        if (parts.size() > 1)
            data = foundation::percentDecode(parts[1]).value_or(parts[1]);
    }
    if (event == "onReady" || event == "onYouTubeIframeAPIFailedToLoad")
        removeInitialLoadingView();
    auto delegate = delegate_.lock();
    if (!delegate)
        return;
    if (event == "onReady")
        delegate->playerViewDidBecomeReady(*this);
    else if (event == "onStateChange")
        delegate->playerView(*this, playerStateForString(data));
    else if (event == "onPlaybackQualityChange")
        delegate->playerView(*this, playbackQualityForString(data));
    else if (event == "onError")
        delegate->playerView(*this, playerErrorForString(data));
    else if (event == "onPlayTime")
        delegate->playerViewDidPlayTime(*this, floatFrom(data));
}

std::optional<std::string> YTPlayerView::stringFromEvaluatingJavaScript(const std::string& script) {
    return webView_ ? webView_->stringByEvaluatingJavaScriptFromString(script) : std::nullopt;
}

void YTPlayerView::playVideo() {
    stringFromEvaluatingJavaScript("player.playVideo();");
}

void YTPlayerView::pauseVideo() {
    notifyDelegateOfYouTubeCallbackUrl(*foundation::URL::withString(
        std::string(kCallbackScheme) + "://onStateChange?data=" + kStateTexts[3]));
    stringFromEvaluatingJavaScript("player.pauseVideo();");
}

void YTPlayerView::stopVideo() {
    stringFromEvaluatingJavaScript("player.stopVideo();");
}

void YTPlayerView::seekToSeconds(float seconds, bool allowSeekAhead) {
    stringFromEvaluatingJavaScript("player.seekTo(" + scriptNumber(seconds) + ", " +
                                   stringForJSBoolean(allowSeekAhead) + ");");
}

void YTPlayerView::callWithVideo(const char* function, const std::string& video, float startSeconds,
                                 std::optional<float> endSeconds,
                                 YTPlaybackQuality suggestedQuality) {
    std::string arguments = scriptString(video) + ", " + scriptNumber(startSeconds);
    if (endSeconds)
        arguments += ", " + scriptNumber(*endSeconds);
    stringFromEvaluatingJavaScript(std::string("player.") + function + "(" + arguments + ", " +
                                   qualityString(suggestedQuality) + ");");
}

void YTPlayerView::callWithVideoObject(const char* function, const std::string& videoId,
                                       float startSeconds, float endSeconds,
                                       YTPlaybackQuality suggestedQuality) {
    stringFromEvaluatingJavaScript(
        std::string("player.") + function + "({'videoId': " + scriptString(videoId) +
        ", 'startSeconds': " + scriptNumber(startSeconds) +
        ", 'endSeconds': " + scriptNumber(endSeconds) +
        ", 'suggestedQuality': " + qualityString(suggestedQuality) + "});");
}

void YTPlayerView::cueVideoById(const std::string& videoId, float startSeconds,
                                YTPlaybackQuality suggestedQuality) {
    callWithVideo("cueVideoById", videoId, startSeconds, std::nullopt, suggestedQuality);
}

void YTPlayerView::cueVideoById(const std::string& videoId, float startSeconds, float endSeconds,
                                YTPlaybackQuality suggestedQuality) {
    callWithVideoObject("cueVideoById", videoId, startSeconds, endSeconds, suggestedQuality);
}

void YTPlayerView::loadVideoById(const std::string& videoId, float startSeconds,
                                 YTPlaybackQuality suggestedQuality) {
    callWithVideo("loadVideoById", videoId, startSeconds, std::nullopt, suggestedQuality);
}

void YTPlayerView::loadVideoById(const std::string& videoId, float startSeconds, float endSeconds,
                                 YTPlaybackQuality suggestedQuality) {
    callWithVideoObject("loadVideoById", videoId, startSeconds, endSeconds, suggestedQuality);
}

void YTPlayerView::cueVideoByURL(const std::string& videoURL, float startSeconds,
                                 YTPlaybackQuality suggestedQuality) {
    callWithVideo("cueVideoByUrl", videoURL, startSeconds, std::nullopt, suggestedQuality);
}

void YTPlayerView::cueVideoByURL(const std::string& videoURL, float startSeconds, float endSeconds,
                                 YTPlaybackQuality suggestedQuality) {
    callWithVideo("cueVideoByUrl", videoURL, startSeconds, endSeconds, suggestedQuality);
}

void YTPlayerView::loadVideoByURL(const std::string& videoURL, float startSeconds,
                                  YTPlaybackQuality suggestedQuality) {
    callWithVideo("loadVideoByUrl", videoURL, startSeconds, std::nullopt, suggestedQuality);
}

void YTPlayerView::loadVideoByURL(const std::string& videoURL, float startSeconds, float endSeconds,
                                  YTPlaybackQuality suggestedQuality) {
    callWithVideo("loadVideoByUrl", videoURL, startSeconds, endSeconds, suggestedQuality);
}

void YTPlayerView::cuePlaylist(const std::string& quotedList, int index, float startSeconds,
                               YTPlaybackQuality suggestedQuality, const char* function) {
    stringFromEvaluatingJavaScript(std::string("player.") + function + "(" + quotedList + ", " +
                                   std::to_string(index) + ", " + scriptNumber(startSeconds) +
                                   ", " + qualityString(suggestedQuality) + ");");
}

void YTPlayerView::cuePlaylistByPlaylistId(const std::string& playlistId, int index,
                                           float startSeconds, YTPlaybackQuality suggestedQuality) {
    cuePlaylist(scriptString(playlistId), index, startSeconds, suggestedQuality, "cuePlaylist");
}

void YTPlayerView::cuePlaylistByVideos(const std::vector<std::string>& videoIds, int index,
                                       float startSeconds, YTPlaybackQuality suggestedQuality) {
    cuePlaylist(stringFromVideoIdArray(videoIds), index, startSeconds, suggestedQuality,
                "cuePlaylist");
}

void YTPlayerView::loadPlaylistByPlaylistId(const std::string& playlistId, int index,
                                            float startSeconds,
                                            YTPlaybackQuality suggestedQuality) {
    cuePlaylist(scriptString(playlistId), index, startSeconds, suggestedQuality, "loadPlaylist");
}

void YTPlayerView::loadPlaylistByVideos(const std::vector<std::string>& videoIds, int index,
                                        float startSeconds, YTPlaybackQuality suggestedQuality) {
    cuePlaylist(stringFromVideoIdArray(videoIds), index, startSeconds, suggestedQuality,
                "loadPlaylist");
}

float YTPlayerView::playbackRate() {
    return floatFrom(stringFromEvaluatingJavaScript("player.getPlaybackRate();"));
}

void YTPlayerView::setPlaybackRate(float suggestedRate) {
    stringFromEvaluatingJavaScript(
        "player.setPlaybackRate(" +
        std::to_string(std::isfinite(suggestedRate) ? suggestedRate : 1.0f) + ");");
}

std::optional<Value> YTPlayerView::availablePlaybackRates() {
    return jsonArray(stringFromEvaluatingJavaScript("player.getAvailablePlaybackRates();"));
}

void YTPlayerView::setLoop(bool loop) {
    stringFromEvaluatingJavaScript("player.setLoop(" + stringForJSBoolean(loop) + ");");
}

void YTPlayerView::setShuffle(bool shuffle) {
    stringFromEvaluatingJavaScript("player.setShuffle(" + stringForJSBoolean(shuffle) + ");");
}

float YTPlayerView::videoLoadedFraction() {
    return floatFrom(stringFromEvaluatingJavaScript("player.getVideoLoadedFraction();"));
}

YTPlayerState YTPlayerView::playerState() {
    return playerStateForString(
        stringFromEvaluatingJavaScript("player.getPlayerState();").value_or(""));
}

float YTPlayerView::currentTime() {
    return floatFrom(stringFromEvaluatingJavaScript("player.getCurrentTime();"));
}

YTPlaybackQuality YTPlayerView::playbackQuality() {
    return playbackQualityForString(
        stringFromEvaluatingJavaScript("player.getPlaybackQuality();").value_or(""));
}

void YTPlayerView::setPlaybackQuality(YTPlaybackQuality suggestedQuality) {
    stringFromEvaluatingJavaScript("player.setPlaybackQuality(" + qualityString(suggestedQuality) +
                                   ");");
}

double YTPlayerView::duration() {
    return floatFrom(stringFromEvaluatingJavaScript("player.getDuration();"));
}

std::optional<foundation::URL> YTPlayerView::videoUrl() {
    auto text = stringFromEvaluatingJavaScript("player.getVideoUrl();");
    return text ? foundation::URL::withString(*text) : std::nullopt;
}

std::optional<std::string> YTPlayerView::videoEmbedCode() {
    return stringFromEvaluatingJavaScript("player.getVideoEmbedCode();");
}

std::optional<Value> YTPlayerView::playlist() {
    return jsonArray(stringFromEvaluatingJavaScript("player.getPlaylist();"));
}

int YTPlayerView::playlistIndex() {
    return static_cast<int>(
        floatFrom(stringFromEvaluatingJavaScript("player.getPlaylistIndex();")));
}

void YTPlayerView::nextVideo() {
    stringFromEvaluatingJavaScript("player.nextVideo();");
}

void YTPlayerView::previousVideo() {
    stringFromEvaluatingJavaScript("player.previousVideo();");
}

void YTPlayerView::playVideoAt(int index) {
    stringFromEvaluatingJavaScript("player.playVideoAt(" + std::to_string(index) + ");");
}

std::optional<std::vector<YTPlaybackQuality>> YTPlayerView::availableQualityLevels() {
    auto text = stringFromEvaluatingJavaScript("player.getAvailableQualityLevels().toString();");
    if (!text)
        return std::nullopt;
    std::vector<YTPlaybackQuality> levels;
    for (const auto& part : foundation::split(*text, ","))
        levels.push_back(playbackQualityForString(part));
    return levels;
}

YTPlaybackQuality YTPlayerView::playbackQualityForString(const std::string& text) {
    for (std::size_t index = 0; index < kQualityTexts.size(); ++index)
        if (text == kQualityTexts[index])
            return static_cast<YTPlaybackQuality>(index);
    return YTPlaybackQuality::unknown;
}

std::string YTPlayerView::stringForPlaybackQuality(YTPlaybackQuality quality) {
    const auto index = static_cast<std::size_t>(quality);
    return index < kQualityTexts.size() ? kQualityTexts[index] : "unknown";
}

YTPlayerState YTPlayerView::playerStateForString(const std::string& text) {
    for (std::size_t index = 0; index < kStateTexts.size(); ++index)
        if (text == kStateTexts[index])
            return static_cast<YTPlayerState>(index);
    return YTPlayerState::unknown;
}

std::string YTPlayerView::stringForPlayerState(YTPlayerState state) {
    const auto index = static_cast<std::size_t>(state);
    return index < kStateTexts.size() ? kStateTexts[index] : "unknown";
}

YTPlayerError YTPlayerView::playerErrorForString(const std::string& text) {
    if (text == "2")
        return YTPlayerError::invalidParam;
    if (text == "5")
        return YTPlayerError::html5Error;
    if (text == "100" || text == "105")
        return YTPlayerError::videoNotFound;
    if (text == "101" || text == "150")
        return YTPlayerError::notEmbeddable;
    return YTPlayerError::unknown;
}

std::string YTPlayerView::stringFromVideoIdArray(const std::vector<std::string>& videoIds) {
    Value::Array array;
    for (const auto& identifier : videoIds)
        array.emplace_back(identifier);
    return foundation::JSON::serialize(Value(std::move(array)));
}

}  // namespace corvane
