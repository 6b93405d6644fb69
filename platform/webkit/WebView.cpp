#include "webkit/WebView.h"

#include <algorithm>
#include <cmath>

#include "foundation/Dispatch.h"
#include "foundation/Strings.h"
#include "foundation/URLError.h"
#include "uikit/HTMLImporter.h"
#include "webkit/WebPlaceholder.h"
#include "webkit/WebViewError.h"

namespace webkit {

namespace {

// Browsers lay text out at 16 pixels unless the page says otherwise.
constexpr double kDefaultFontSize = 16;
constexpr double kFetchedProgressShare = 0.8;

foundation::URL aboutBlank() {
    return *foundation::URL::withString("about:blank");
}

bool opensNewWindow(const std::optional<std::string>& target) {
    std::string name = foundation::lowercase(target.value_or(""));
    return !(name.empty() || name == "_self" || name == "_top" || name == "_parent");
}

// The link a tap at the element follows: the element itself or the nearest one around it.
std::optional<html::HTMLElement> enclosingLink(std::optional<html::HTMLElement> element) {
    while (element && !element->attribute("href"))
        element = element->parentElement();
    return element;
}

// The text of the page at the width, as a person would scroll through it. A page larger than
// the importer takes is measured by as much as it takes, and the height scaled up to the whole.
uikit::Size measuredContentSize(const html::HTMLDocument& document, double width) {
    auto body = document.body();
    if (!body)
        return {width, 0};
    std::string html = body->innerHTML();
    std::size_t whole = html.size();
    std::size_t end = std::min(whole, uikit::HTMLImporter::kMaximumBytes);
    while (end > 0 && end < whole && (static_cast<unsigned char>(html[end]) & 0xC0) == 0x80)
        --end;
    html.resize(end);
    uikit::HTMLImporter importer;
    importer.setDefaultFont(uikit::Font::systemFont(kDefaultFontSize));
    auto text = importer.attributedString(html);
    if (!text || text->empty())
        return {width, 0};
    double height = text->boundingSize(width, 0, importer.defaultFont()).height;
    return {width, std::ceil(height * static_cast<double>(whole) / static_cast<double>(end))};
}

}  // namespace

template <typename Method, typename... Arguments>
auto WebView::callback(Method method, Arguments... arguments) {
    std::weak_ptr<uikit::View> weak = weak_from_this();
    return [weak, method, arguments...](auto&&... more) {
        if (auto self = std::static_pointer_cast<WebView>(weak.lock()))
            ((*self).*method)(arguments..., std::forward<decltype(more)>(more)...);
    };
}

WebView::WebView(const uikit::Rect& frame, WebViewConfiguration configuration)
    : uikit::View(frame),
      configuration_(std::move(configuration)),
      scrollView_(std::make_shared<uikit::ScrollView>(uikit::Rect{{0, 0}, frame.size})) {
    scrollView_->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                     uikit::Autoresizing::flexibleHeight);
    addSubview(scrollView_);
}

void WebView::loadRequest(foundation::URLRequest request) {
    navigate(NavigationAction(std::move(request)), std::nullopt);
}

void WebView::loadHTMLString(std::string html, std::optional<foundation::URL> baseURL) {
    navigate(NavigationAction(foundation::URLRequest(baseURL.value_or(aboutBlank()))),
             std::move(html));
}

void WebView::reload() {
    if (const auto* item = history_.currentItem())
        navigate(NavigationAction(item->request, NavigationType::reload), item->html);
}

void WebView::goToOffset(long offset) {
    auto index = history_.indexAtOffset(offset);
    if (!index)
        return;
    const auto& item = history_.itemAt(*index);
    navigate(NavigationAction(item.request, NavigationType::backForward), item.html, index);
}

void WebView::stopLoading() {
    if (auto stopped = std::exchange(navigation_, std::nullopt))
        interrupt(*stopped);
}

void WebView::navigate(NavigationAction action, std::optional<std::string> html,
                       std::optional<std::size_t> historyIndex) {
    auto replaced = std::exchange(navigation_, Navigation{++lastNavigationID_, std::move(action),
                                                          std::move(html), historyIndex});
    std::uint64_t id = navigation_->id;
    if (replaced)
        interrupt(*replaced);
    foundation::runAsyncOnMain(callback(&WebView::decideAction, id));
}

bool WebView::isCurrent(std::uint64_t id, Stage stage) const {
    return navigation_ && navigation_->id == id && navigation_->stage == stage;
}

void WebView::decideAction(std::uint64_t id) {
    if (!isCurrent(id, Stage::decidingAction))
        return;
    NavigationAction action = navigation_->action;
    auto decide = callback(&WebView::actionDecided, id);
    if (auto delegate = navigationDelegate())
        delegate->decidePolicyForNavigationAction(*this, action, decide);
    else
        decide(NavigationPolicy::allow);
}

void WebView::actionDecided(std::uint64_t id, NavigationPolicy policy) {
    if (!isCurrent(id, Stage::decidingAction))
        return;
    if (policy == NavigationPolicy::cancel) {
        navigation_.reset();
        return;
    }
    foundation::URL url = navigation_->action.request.url;
    if (!navigation_->html && !PageLoad::canFetch(url)) {
        navigation_.reset();
        if (auto delegate = navigationDelegate())
            delegate->didFailProvisionalNavigation(
                *this, foundation::URLError::make(foundation::URLError::UnsupportedURL,
                                                  url.absoluteString()));
        return;
    }
    navigation_->stage = Stage::loading;
    loading_ = true;
    estimatedProgress_.set(kStartedProgress);
    if (auto delegate = navigationDelegate())
        delegate->didStartProvisionalNavigation(*this);
    startLoading(id);
}

void WebView::startLoading(std::uint64_t id) {
    if (!isCurrent(id, Stage::loading))
        return;
    std::weak_ptr<uikit::View> weak = weak_from_this();
    auto progress = [weak, id](double fraction) {
        auto self = std::static_pointer_cast<WebView>(weak.lock());
        if (!self || !self->isCurrent(id, Stage::loading))
            return;
        double estimate = kStartedProgress + kFetchedProgressShare * fraction;
        if (estimate > self->estimatedProgress_.get())
            self->estimatedProgress_.set(estimate);
    };
    load_ =
        PageLoad::start({navigation_->action.request, navigation_->html},
                        configuration_.userAgent(), progress, callback(&WebView::pageArrived, id));
}

void WebView::pageArrived(std::uint64_t id, foundation::Result<PageLoad::Page> page) {
    if (!isCurrent(id, Stage::loading))
        return;
    load_.reset();
    if (!page) {
        failProvisionalNavigation(page.error());
        return;
    }
    navigation_->stage = Stage::decidingResponse;
    NavigationResponse response{page->response};
    std::weak_ptr<uikit::View> weak = weak_from_this();
    auto decide = [weak, id, page = *page](NavigationPolicy policy) {
        if (auto self = std::static_pointer_cast<WebView>(weak.lock()))
            self->responseDecided(id, policy, page);
    };
    if (auto delegate = navigationDelegate())
        delegate->decidePolicyForNavigationResponse(*this, response, decide);
    else
        decide(NavigationPolicy::allow);
}

void WebView::responseDecided(std::uint64_t id, NavigationPolicy policy,
                              const PageLoad::Page& page) {
    if (!isCurrent(id, Stage::decidingResponse))
        return;
    if (policy == NavigationPolicy::cancel) {
        failProvisionalNavigation(
            WebViewError::make(WebViewError::FrameLoadInterruptedByPolicyChange));
        return;
    }
    commit(page);
    foundation::runAsyncOnMain(callback(&WebView::finish, id));
}

void WebView::commit(const PageLoad::Page& page) {
    navigation_->stage = Stage::committed;
    url_ = page.response.url;
    document_ = page.document;
    if (navigation_->historyIndex)
        history_.moveTo(*navigation_->historyIndex);
    else if (navigation_->action.navigationType != NavigationType::reload)
        history_.push({navigation_->action.request, navigation_->html});
}

void WebView::finish(std::uint64_t id) {
    if (!isCurrent(id, Stage::committed))
        return;
    navigation_.reset();
    updateContentSize();
    endLoading();
    if (auto delegate = navigationDelegate())
        delegate->didFinishNavigation(*this);
}

void WebView::failProvisionalNavigation(const foundation::Error& error) {
    navigation_.reset();
    endLoading();
    if (auto delegate = navigationDelegate())
        delegate->didFailProvisionalNavigation(*this, error);
}

void WebView::interrupt(const Navigation& navigation) {
    if (navigation.stage == Stage::decidingAction)
        return;
    endLoading();
    auto delegate = navigationDelegate();
    if (!delegate)
        return;
    auto cancelled = foundation::URLError::make(foundation::URLError::Cancelled,
                                                navigation.action.request.url.absoluteString());
    if (navigation.stage == Stage::committed)
        delegate->didFailNavigation(*this, cancelled);
    else
        delegate->didFailProvisionalNavigation(*this, cancelled);
}

void WebView::endLoading() {
    if (load_) {
        load_->cancel();
        load_.reset();
    }
    loading_ = false;
    estimatedProgress_.set(1.0);
}

void WebView::openNewWindow(NavigationAction action) {
    std::weak_ptr<uikit::View> weak = weak_from_this();
    auto answered = std::make_shared<bool>(false);
    auto decide = [weak, action, answered](NavigationPolicy policy) {
        auto self = std::static_pointer_cast<WebView>(weak.lock());
        if (!self || std::exchange(*answered, true) || policy == NavigationPolicy::cancel)
            return;
        auto delegate = self->uiDelegate();
        WebViewConfiguration offered = self->configuration_;
        auto window =
            delegate ? delegate->createWebViewWithConfiguration(*self, offered, action) : nullptr;
        if (window)
            window->loadRequest(action.request);
    };
    foundation::runAsyncOnMain([weak, action, decide] {
        auto self = std::static_pointer_cast<WebView>(weak.lock());
        if (!self)
            return;
        if (auto delegate = self->navigationDelegate())
            delegate->decidePolicyForNavigationAction(*self, action, decide);
        else
            decide(NavigationPolicy::allow);
    });
}

void WebView::evaluateJavaScript(std::string script, ScriptCompletion completion) {
    foundation::runAsyncOnMain(
        [hook = scriptHook_, script = std::move(script), completion = std::move(completion)] {
            if (!completion)
                return;
            if (!hook) {
                completion({}, WebViewError::make(WebViewError::JavaScriptUnavailable));
                return;
            }
            auto result = hook(script);
            if (result)
                completion(*result, std::nullopt);
            else
                completion({}, result.error());
        });
}

bool WebView::tapLink(std::string_view hrefOrSelector) {
    if (!document_)
        return false;
    std::optional<html::HTMLElement> link;
    for (const auto& candidate : document_->querySelectorAll("a[href]"))
        if (candidate.attribute("href") == hrefOrSelector) {
            link = candidate;
            break;
        }
    if (!link)
        link = enclosingLink(document_->querySelector(hrefOrSelector));
    if (!link)
        return false;
    std::string href = foundation::trimmed(link->attribute("href").value_or(""));
    auto target =
        url_ ? foundation::URL::withString(href, *url_) : foundation::URL::withString(href);
    if (!target)
        return false;
    NavigationAction action(foundation::URLRequest(*target), NavigationType::linkActivated);
    if (opensNewWindow(link->attribute("target"))) {
        action.targetFrame.reset();
        openNewWindow(std::move(action));
    } else {
        navigate(std::move(action), std::nullopt);
    }
    return true;
}

void WebView::updateContentSize() {
    uikit::Size size =
        document_ ? measuredContentSize(*document_, bounds().size.width) : uikit::Size{};
    scrollView_->setContentSize(size);
    if (!(size == contentSize_.get()))
        contentSize_.set(size);
}

void WebView::boundsDidChange(const uikit::Rect& oldBounds) {
    uikit::View::boundsDidChange(oldBounds);
    if (oldBounds.size.width != bounds().size.width && document_)
        updateContentSize();
}

void WebView::draw(uikit::Canvas& canvas) {
    WebPlaceholder::drawPanel(canvas, bounds());
}

// Over the scroll view, which a page may give a background of its own.
void WebView::drawOverSubviews(uikit::Canvas& canvas) {
    WebPlaceholder::drawAddress(canvas, bounds(), url_);
}

std::string WebView::describeSelf() const {
    std::string text = "WebView";
    if (std::string pageTitle = title(); !pageTitle.empty())
        text += " \"" + pageTitle + "\"";
    if (url_)
        text += " " + url_->absoluteString();
    return text;
}

}  // namespace webkit
