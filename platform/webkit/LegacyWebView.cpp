#include "webkit/LegacyWebView.h"

#include "foundation/Dispatch.h"
#include "foundation/URLError.h"
#include "webkit/WebPlaceholder.h"
#include "webkit/WebViewConfiguration.h"

namespace webkit {

namespace {

template <typename Method, typename... Arguments>
auto callback(LegacyWebView& view, Method method, Arguments... arguments) {
    std::weak_ptr<uikit::View> weak = view.weak_from_this();
    return [weak, method, arguments...](auto&&... more) {
        if (auto self = std::static_pointer_cast<LegacyWebView>(weak.lock()))
            ((*self).*method)(arguments..., std::forward<decltype(more)>(more)...);
    };
}

}  // namespace

LegacyWebView::LegacyWebView(const uikit::Rect& frame)
    : uikit::View(frame),
      scrollView_(std::make_shared<uikit::ScrollView>(uikit::Rect{{0, 0}, frame.size})) {
    scrollView_->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                     uikit::Autoresizing::flexibleHeight);
    addSubview(scrollView_);
}

void LegacyWebView::loadHTMLString(std::string html, std::optional<foundation::URL> baseURL) {
    auto url = baseURL ? *baseURL : *foundation::URL::withString("about:blank");
    replaceLoad({0, {foundation::URLRequest(url), std::move(html)}, NavigationType::other});
}

void LegacyWebView::loadRequest(foundation::URLRequest request) {
    replaceLoad({0, {std::move(request), std::nullopt}, NavigationType::other});
}

void LegacyWebView::pageRequestsURL(const foundation::URL& url, NavigationType navigationType) {
    foundation::URLRequest request(url);
    auto delegate = delegate_.lock();
    if (delegate && !delegate->shouldStartLoadWithRequest(*this, request, navigationType))
        return;
    replaceLoad({0, {std::move(request), std::nullopt}, navigationType, true});
}

void LegacyWebView::stopLoading() {
    if (auto stopped = std::exchange(load_, std::nullopt))
        interrupt(*stopped);
}

void LegacyWebView::replaceLoad(Load load) {
    load.id = ++lastLoadID_;
    auto replaced = std::exchange(load_, std::move(load));
    std::uint64_t id = load_->id;
    if (replaced)
        interrupt(*replaced);
    foundation::runAsyncOnMain(callback(*this, &LegacyWebView::decide, id));
}

void LegacyWebView::decide(std::uint64_t id) {
    if (!isCurrent(id) || load_->started)
        return;
    if (!load_->approved) {
        auto delegate = delegate_.lock();
        foundation::URLRequest request = load_->source.request;
        if (delegate &&
            !delegate->shouldStartLoadWithRequest(*this, request, load_->navigationType)) {
            if (isCurrent(id))
                load_.reset();
            return;
        }
    }
    start(id);
}

void LegacyWebView::start(std::uint64_t id) {
    if (!isCurrent(id))
        return;
    foundation::URL url = load_->source.request.url;
    if (!load_->source.html && !PageLoad::canFetch(url)) {
        load_.reset();
        if (auto delegate = delegate_.lock())
            delegate->didFailLoadWithError(
                *this, foundation::URLError::make(foundation::URLError::UnsupportedURL,
                                                  url.absoluteString()));
        return;
    }
    load_->started = true;
    loading_ = true;
    if (auto delegate = delegate_.lock())
        delegate->didStartLoad(*this);
    if (!isCurrent(id))
        return;
    pageLoad_ = PageLoad::start(load_->source, WebViewConfiguration().userAgent(), {},
                                callback(*this, &LegacyWebView::pageArrived, id));
}

void LegacyWebView::pageArrived(std::uint64_t id, foundation::Result<PageLoad::Page> page) {
    if (!isCurrent(id))
        return;
    load_.reset();
    pageLoad_.reset();
    loading_ = false;
    auto delegate = delegate_.lock();
    if (!page) {
        if (delegate)
            delegate->didFailLoadWithError(*this, page.error());
        return;
    }
    url_ = page->response.url;
    document_ = page->document;
    if (delegate)
        delegate->didFinishLoad(*this);
}

void LegacyWebView::interrupt(const Load& load) {
    if (!load.started)
        return;
    if (pageLoad_) {
        pageLoad_->cancel();
        pageLoad_.reset();
    }
    loading_ = false;
    if (auto delegate = delegate_.lock())
        delegate->didFailLoadWithError(
            *this, foundation::URLError::make(foundation::URLError::Cancelled,
                                              load.source.request.url.absoluteString()));
}

std::optional<std::string> LegacyWebView::stringByEvaluatingJavaScriptFromString(
    const std::string& script) {
    if (!scriptHook_)
        return std::nullopt;
    return scriptHook_(script);
}

void LegacyWebView::draw(uikit::Canvas& canvas) {
    WebPlaceholder::drawPanel(canvas, bounds());
}

// Over the scroll view, which a page may give a background of its own.
void LegacyWebView::drawOverSubviews(uikit::Canvas& canvas) {
    WebPlaceholder::drawAddress(canvas, bounds(), url_);
}

std::string LegacyWebView::describeSelf() const {
    return url_ ? "LegacyWebView " + url_->absoluteString() : "LegacyWebView";
}

}  // namespace webkit
