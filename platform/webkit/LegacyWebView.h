#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "html/HTMLDocument.h"
#include "uikit/ScrollView.h"
#include "uikit/View.h"
#include "webkit/LegacyWebViewDelegate.h"
#include "webkit/NavigationType.h"
#include "webkit/PageLoad.h"

namespace webkit {

// The older, simpler web view that embedded players use: it loads HTML with a base URL (or a
// request), asks its delegate whether each load may start, and answers script synchronously
// through a hook in place of a script engine. Loads are what PageLoad loads; the delegate is
// called on later turns of the main run loop, except for the page's own requests, which it is
// asked about at once. Main thread only.
class LegacyWebView : public uikit::View {
  public:
    // Answers stringByEvaluatingJavaScriptFromString in place of a script engine.
    using ScriptHook = std::function<std::string(const std::string& script)>;

    explicit LegacyWebView(const uikit::Rect& frame = {});

    const std::shared_ptr<uikit::ScrollView>& scrollView() const { return scrollView_; }
    std::shared_ptr<LegacyWebViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<LegacyWebViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    bool allowsInlineMediaPlayback() const { return allowsInlineMediaPlayback_; }
    void setAllowsInlineMediaPlayback(bool allows) { allowsInlineMediaPlayback_ = allows; }
    bool mediaPlaybackRequiresUserAction() const { return mediaPlaybackRequiresUserAction_; }
    void setMediaPlaybackRequiresUserAction(bool required) {
        mediaPlaybackRequiresUserAction_ = required;
    }

    // Shows the HTML as the page at baseURL (about:blank without one); nothing is fetched.
    void loadHTMLString(std::string html, std::optional<foundation::URL> baseURL);
    void loadRequest(foundation::URLRequest request);
    void stopLoading();
    bool isLoading() const { return loading_; }
    // The page shown and its document.
    const std::optional<foundation::URL>& url() const { return url_; }
    const std::shared_ptr<const html::HTMLDocument>& document() const { return document_; }

    // The hook's answer, or nothing when no hook is set.
    std::optional<std::string> stringByEvaluatingJavaScriptFromString(const std::string& script);
    void setScriptHook(ScriptHook hook) { scriptHook_ = std::move(hook); }

    // The page asks to go to the URL, as a link, a script or a frame of it would: the delegate
    // is asked at once, and the load goes ahead only when it agrees.
    void pageRequestsURL(const foundation::URL& url,
                         NavigationType navigationType = NavigationType::other);

    void draw(uikit::Canvas& canvas) override;
    void drawOverSubviews(uikit::Canvas& canvas) override;

  protected:
    std::string describeSelf() const override;
    bool describesSubview(const uikit::View& subview) const override {
        return &subview != scrollView_.get();
    }

  private:
    struct Load {
        std::uint64_t id;
        PageLoad::Source source;
        NavigationType navigationType;
        bool approved = false;
        bool started = false;
    };

    // Replaces any load in progress with this one and goes on with it on the next turn.
    void replaceLoad(Load load);
    bool isCurrent(std::uint64_t id) const { return load_ && load_->id == id; }
    void decide(std::uint64_t id);
    void start(std::uint64_t id);
    void pageArrived(std::uint64_t id, foundation::Result<PageLoad::Page> page);
    void fail(const foundation::Error& error);
    // Ends a load that another replaced or stopLoading stopped.
    void interrupt(const Load& load);

    std::shared_ptr<uikit::ScrollView> scrollView_;
    std::weak_ptr<LegacyWebViewDelegate> delegate_;
    ScriptHook scriptHook_;
    bool allowsInlineMediaPlayback_ = false;
    bool mediaPlaybackRequiresUserAction_ = true;

    std::optional<Load> load_;
    std::uint64_t lastLoadID_ = 0;
    std::shared_ptr<PageLoad> pageLoad_;
    bool loading_ = false;
    std::optional<foundation::URL> url_;
    std::shared_ptr<const html::HTMLDocument> document_;
};

}  // namespace webkit
