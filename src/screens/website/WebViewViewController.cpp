#include "screens/website/WebViewViewController.h"

#include "foundation/Log.h"
#include "framework/network/KSFetchableURL.h"
#include "screens/website/WebDepictionRequest.h"
#include "screens/website/WebNewWindow.h"
#include "screens/website/WebViewNib.h"
#include "uikit/Animation.h"
#include "uikit/Application.h"
#include "uikit/BarButtonItem.h"
#include "uikit/NavigationItem.h"

namespace corvane {

using webkit::NavigationAction;
using webkit::NavigationPolicy;

WebViewViewController::WebViewViewController() : KSPalettedViewController(kNibName) {
    WebViewNib::registerNib();
}

std::shared_ptr<WebViewViewController> WebViewViewController::self() {
    return std::static_pointer_cast<WebViewViewController>(shared_from_this());
}

void WebViewViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    // The progress bar sits right under the navigation bar rather than behind it.
    setEdgesForExtendedLayout(uikit::RectEdge::none);
    if (viewTitle_)
        setTitle(*viewTitle_);
    firstAppear_ = true;
    addBarButtons();
}

void WebViewViewController::addBarButtons() {
    auto action = [weak = std::weak_ptr(self())](void (WebViewViewController::*method)()) {
        return [weak, method](uikit::BarButtonItem&) {
            if (auto self = weak.lock())
                ((*self).*method)();
        };
    };
    const auto plain = uikit::BarButtonItem::Style::plain;
    if (isPresented_)
        navigationItem()->setLeftBarButtonItem(uikit::BarButtonItem::withTitle(
            "Close", plain, action(&WebViewViewController::dismissVC)));
    navigationItem()->setRightBarButtonItem(uikit::BarButtonItem::withTitle(
        "Open in Safari", plain, action(&WebViewViewController::openInSafari)));
}

void WebViewViewController::viewDidAppear(bool animated) {
    KSPalettedViewController::viewDidAppear(animated);
    if (!firstAppear_)
        return;
    firstAppear_ = false;
    buildWebView();
    loadWebsite();
}

std::string WebViewViewController::applicationNameForUserAgent() const {
    return WebDepictionRequest::applicationName(isDarkMode());
}

uikit::Rect WebViewViewController::frameBelowProgressView() const {
    const auto bounds = viewIfLoaded()->bounds();
    const double top = progressView->frame().maxY();
    return {0, top, bounds.width(), bounds.height() - progressView->frame().height()};
}

void WebViewViewController::buildWebView() {
    webkit::WebViewConfiguration configuration;
    configuration.applicationNameForUserAgent = applicationNameForUserAgent();
    webView_ = std::make_shared<webkit::WebView>(frameBelowProgressView(), configuration);
    webView_->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                  uikit::Autoresizing::flexibleHeight);
    webView_->setNavigationDelegate(std::weak_ptr<webkit::NavigationDelegate>(self()));
    webView_->setUIDelegate(std::weak_ptr<webkit::UIDelegate>(self()));
    view()->addSubview(webView_);
    progressObservation_ =
        webView_->observeEstimatedProgress([weak = std::weak_ptr(self())](const double& progress) {
            if (auto self = weak.lock())
                self->progressChanged(progress);
        });
}

// A plain request: the device's identifiers are for repositories, not for whatever site a
// package or a page names.
void WebViewViewController::loadWebsite() {
    if (!websiteURL_ || !KSFetchableURL::isFetchable(*websiteURL_)) {
        KSLog("Nothing to load in the browser: %@ is no web address",
              websiteURL_ ? websiteURL_->absoluteString() : std::string("(null)"));
        return;
    }
    webView_->loadRequest(foundation::URLRequest(*websiteURL_));
}

void WebViewViewController::progressChanged(double progress) {
    progressView->setAlpha(1);
    webView_->setFrame(frameBelowProgressView());
    progressView->setProgress(progress, true);
    if (progress < 1.0)
        return;
    std::weak_ptr<WebViewViewController> weak = self();
    uikit::Animation::animate(
        kProgressFadeDuration, kProgressFadeDelay, uikit::AnimationOption::curveEaseOut,
        [weak] {
            if (auto self = weak.lock()) {
                self->progressView->setAlpha(0);
                self->webView_->setFrame(self->view()->bounds());
            }
        },
        [weak](bool) {
            if (auto self = weak.lock())
                self->progressView->setProgress(0, false);
        });
}

void WebViewViewController::dismissVC() {
    dismiss(true);
}

void WebViewViewController::openInSafari() {
    if (!websiteURL_ || !KSFetchableURL::isFetchable(*websiteURL_)) {
        KSLog("Not opened in the system browser: %@ is no web address",
              websiteURL_ ? websiteURL_->absoluteString() : std::string("(null)"));
        return;
    }
    uikit::Application::shared().openURL(*websiteURL_);
}

void WebViewViewController::decidePolicyForNavigationAction(webkit::WebView&,
                                                            const NavigationAction& action,
                                                            DecisionHandler decisionHandler) {
    if (KSFetchableURL::isFetchable(action.request.url)) {
        decisionHandler(NavigationPolicy::allow);
        return;
    }
    KSLog("The browser does not follow %@: not a web address", action.request.url.absoluteString());
    decisionHandler(NavigationPolicy::cancel);
}

std::shared_ptr<webkit::WebView> WebViewViewController::createWebViewWithConfiguration(
    webkit::WebView& webView, webkit::WebViewConfiguration&,
    const webkit::NavigationAction& action) {
    return WebNewWindow::openInPlace(webView, action);
}

void WebViewViewController::didFinishNavigation(webkit::WebView&) {
    loadEnded(std::nullopt);
}

void WebViewViewController::didFailProvisionalNavigation(webkit::WebView&,
                                                         const foundation::Error& error) {
    loadEnded(error);
}

void WebViewViewController::didFailNavigation(webkit::WebView&, const foundation::Error& error) {
    loadEnded(error);
}

void WebViewViewController::loadEnded(const std::optional<foundation::Error>& error) {
    uikit::Application::shared().setNetworkActivityIndicatorVisible(false);
    if (error)
        KSLog("The browser could not load the page: %@", error->localizedDescription());
}

}  // namespace corvane
