#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/ObservationToken.h"
#include "foundation/URL.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/ProgressView.h"
#include "webkit/NavigationDelegate.h"
#include "webkit/UIDelegate.h"
#include "webkit/WebView.h"

namespace corvane {

// The in-app browser: a titled page with a load-progress bar and a button that hands the page
// to the system browser. The web view is built on the first appearance and kept, so coming back
// from a pushed screen finds the page as it was. Only http and https are ever loaded or opened:
// any other address loads nothing and says so in the log.
class WebViewViewController : public KSPalettedViewController,
                              public webkit::NavigationDelegate,
                              public webkit::UIDelegate {
  public:
    static constexpr const char* kNibName = "WebViewViewController";
    static constexpr double kProgressFadeDelay = 0.3;
    static constexpr double kProgressFadeDuration = 0.3;

    WebViewViewController();

    const std::optional<std::string>& viewTitle() const { return viewTitle_; }
    void setViewTitle(std::optional<std::string> title) { viewTitle_ = std::move(title); }
    const std::optional<foundation::URL>& websiteURL() const { return websiteURL_; }
    void setWebsiteURL(std::optional<foundation::URL> url) { websiteURL_ = std::move(url); }
    // Shown modally in a navigation controller of its own, with a "Close" button.
    bool isPresented() const { return isPresented_; }
    void setIsPresented(bool presented) { isPresented_ = presented; }
    bool firstAppear() const { return firstAppear_; }
    // Null until the first appearance.
    const std::shared_ptr<webkit::WebView>& webView() const { return webView_; }

    void dismissVC();
    void openInSafari();
    // What the browser adds to its user agent: the program's version, the device, the system
    // and whether the screen is dark.
    std::string applicationNameForUserAgent() const;

    // Outlet, set by the nib.
    std::shared_ptr<uikit::ProgressView> progressView;

    void decidePolicyForNavigationAction(webkit::WebView& webView,
                                         const webkit::NavigationAction& action,
                                         DecisionHandler decisionHandler) override;
    void didFinishNavigation(webkit::WebView& webView) override;
    void didFailProvisionalNavigation(webkit::WebView& webView,
                                      const foundation::Error& error) override;
    void didFailNavigation(webkit::WebView& webView, const foundation::Error& error) override;
    std::shared_ptr<webkit::WebView> createWebViewWithConfiguration(
        webkit::WebView& webView, webkit::WebViewConfiguration& configuration,
        const webkit::NavigationAction& action) override;

  protected:
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

  private:
    std::shared_ptr<WebViewViewController> self();
    void addBarButtons();
    void buildWebView();
    void loadWebsite();
    void progressChanged(double progress);
    uikit::Rect frameBelowProgressView() const;
    void loadEnded(const std::optional<foundation::Error>& error);

    std::optional<std::string> viewTitle_;
    std::optional<foundation::URL> websiteURL_;
    bool isPresented_ = false;
    bool firstAppear_ = false;
    std::shared_ptr<webkit::WebView> webView_;
    foundation::ObservationToken progressObservation_;
};

}  // namespace corvane
