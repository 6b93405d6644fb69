#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Error.h"
#include "foundation/Observable.h"
#include "foundation/Result.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "foundation/Value.h"
#include "html/HTMLDocument.h"
#include "uikit/ScrollView.h"
#include "uikit/View.h"
#include "webkit/BackForwardList.h"
#include "webkit/NavigationDelegate.h"
#include "webkit/PageLoad.h"
#include "webkit/UIDelegate.h"
#include "webkit/WebViewConfiguration.h"

namespace webkit {

// A web view without a script engine. It loads pages through URLSession (see PageLoad for what
// it loads), keeps the parsed page, asks its navigation delegate about every navigation and
// response, keeps a back-forward list, and reports progress and a content size (the page's text
// laid out at the view's width). Everything happens on the main thread, the delegates being
// called on later turns of the main run loop, never from inside the call that started a load.
//
// A load that ends in any way (finished, failed, stopped, replaced) brings the estimated
// progress to 1.0; a replaced or stopped load is reported failed with URLError::Cancelled.
class WebView : public uikit::View {
  public:
    // Answers evaluateJavaScript in place of a script engine.
    using ScriptHook = std::function<foundation::Result<foundation::Value>(const std::string&)>;
    using ScriptCompletion =
        std::function<void(foundation::Value result, std::optional<foundation::Error> error)>;

    // The progress as the page request leaves; fetching fills the rest up to 0.9.
    static constexpr double kStartedProgress = 0.1;

    explicit WebView(const uikit::Rect& frame = {}, WebViewConfiguration configuration = {});

    WebViewConfiguration& configuration() { return configuration_; }
    const std::shared_ptr<uikit::ScrollView>& scrollView() const { return scrollView_; }
    std::shared_ptr<NavigationDelegate> navigationDelegate() const {
        return navigationDelegate_.lock();
    }
    void setNavigationDelegate(std::weak_ptr<NavigationDelegate> delegate) {
        navigationDelegate_ = std::move(delegate);
    }
    std::shared_ptr<UIDelegate> uiDelegate() const { return uiDelegate_.lock(); }
    void setUIDelegate(std::weak_ptr<UIDelegate> delegate) { uiDelegate_ = std::move(delegate); }

    // Sends the request's own header fields, and the configuration's user agent unless the
    // request names a User-Agent itself.
    void loadRequest(foundation::URLRequest request);
    // Shows the HTML as the page at baseURL (about:blank without one); nothing is fetched.
    void loadHTMLString(std::string html, std::optional<foundation::URL> baseURL);
    void reload();
    void stopLoading();
    bool canGoBack() const { return history_.indexAtOffset(-1).has_value(); }
    bool canGoForward() const { return history_.indexAtOffset(1).has_value(); }
    void goBack() { goToOffset(-1); }
    void goForward() { goToOffset(1); }

    // The page shown: its URL, its <title>, its document.
    const std::optional<foundation::URL>& url() const { return url_; }
    std::string title() const { return document_ ? document_->title() : std::string(); }
    const std::shared_ptr<const html::HTMLDocument>& document() const { return document_; }
    bool isLoading() const { return loading_; }

    double estimatedProgress() const { return estimatedProgress_.get(); }
    [[nodiscard]] foundation::ObservationToken observeEstimatedProgress(
        std::function<void(const double&)> observer) {
        return estimatedProgress_.observe(std::move(observer));
    }
    uikit::Size contentSize() const { return contentSize_.get(); }
    [[nodiscard]] foundation::ObservationToken observeContentSize(
        std::function<void(const uikit::Size&)> observer) {
        return contentSize_.observe(std::move(observer));
    }

    // The completion runs on a later turn of the main run loop, with the hook's answer, or with
    // WebViewError::JavaScriptUnavailable when no hook is set.
    void evaluateJavaScript(std::string script, ScriptCompletion completion = {});
    void setScriptHook(ScriptHook hook) { scriptHook_ = std::move(hook); }

    // A person taps a link of the page: the first <a> whose href is exactly the text, else the
    // first element matching the text as a CSS selector, or the link around it. The navigation
    // delegate is asked about it first; a target other than "_self", "_top" or "_parent" asks
    // for a new window, which the UI delegate is asked for. False when there is no such link or
    // its href is no URL.
    bool tapLink(std::string_view hrefOrSelector);

    void draw(uikit::Canvas& canvas) override;
    void drawOverSubviews(uikit::Canvas& canvas) override;

  protected:
    std::string describeSelf() const override;
    bool describesSubview(const uikit::View& subview) const override {
        return &subview != scrollView_.get();
    }
    void boundsDidChange(const uikit::Rect& oldBounds) override;

  private:
    enum class Stage { decidingAction, loading, decidingResponse, committed };
    struct Navigation {
        std::uint64_t id;
        NavigationAction action;
        std::optional<std::string> html;
        // Where a back or forward navigation goes in the list.
        std::optional<std::size_t> historyIndex;
        Stage stage = Stage::decidingAction;
    };

    void navigate(NavigationAction action, std::optional<std::string> html,
                  std::optional<std::size_t> historyIndex = std::nullopt);
    void goToOffset(long offset);
    void openNewWindow(NavigationAction action);
    bool isCurrent(std::uint64_t id, Stage stage) const;

    void decideAction(std::uint64_t id);
    void actionDecided(std::uint64_t id, NavigationPolicy policy);
    void startLoading(std::uint64_t id);
    void pageArrived(std::uint64_t id, foundation::Result<PageLoad::Page> page);
    void responseDecided(std::uint64_t id, NavigationPolicy policy, const PageLoad::Page& page);
    void commit(const PageLoad::Page& page);
    void finish(std::uint64_t id);
    void failProvisionalNavigation(const foundation::Error& error);
    // Ends a navigation that another replaced or stopLoading stopped.
    void interrupt(const Navigation& navigation);
    void endLoading();

    void updateContentSize();
    // A handler that calls back into this view, if it still exists, with the view held.
    template <typename Method, typename... Arguments>
    auto callback(Method method, Arguments... arguments);

    WebViewConfiguration configuration_;
    std::shared_ptr<uikit::ScrollView> scrollView_;
    std::weak_ptr<NavigationDelegate> navigationDelegate_;
    std::weak_ptr<UIDelegate> uiDelegate_;
    ScriptHook scriptHook_;

    std::optional<Navigation> navigation_;
    std::uint64_t lastNavigationID_ = 0;
    std::shared_ptr<PageLoad> load_;
    bool loading_ = false;
    foundation::Observable<double> estimatedProgress_{0.0};

    std::optional<foundation::URL> url_;
    std::shared_ptr<const html::HTMLDocument> document_;
    BackForwardList history_;
    foundation::Observable<uikit::Size> contentSize_;
};

}  // namespace webkit
