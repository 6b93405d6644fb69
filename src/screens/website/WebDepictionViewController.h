#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/ObservationToken.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "framework/storage/KSRPackage.h"
#include "screens/website/WebDepictionOutlets.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/GestureRecognizer.h"
#include "uikit/SafariViewControllerDelegate.h"
#include "webkit/NavigationDelegate.h"
#include "webkit/UIDelegate.h"
#include "webkit/WebView.h"

namespace corvane {

// A package as its repository's own web page describes it, under a native header with the
// stored package's icon, name, maintainer, Get and share buttons, size, version and category.
// The page is loaded with the headers that repository sites expect (WebDepictionRequest) and
// reloaded when the palette turns between light and dark. The header is read from the store at
// every appearance; the web view is built on the first. A page that cannot be loaded says so.
// Main thread.
class WebDepictionViewController : public KSPalettedViewController,
                                   public WebDepictionOutlets,
                                   public webkit::NavigationDelegate,
                                   public webkit::UIDelegate,
                                   public uikit::SafariViewControllerDelegate {
  public:
    // The Get button is as wide as its title in bold 13-point type plus this.
    static constexpr double kGetButtonPadding = 34;
    static constexpr double kGetButtonAnimationDuration = 0.3;
    // A finished load's progress bar waits this long, then fades over as long again.
    static constexpr double kProgressFadeSeconds = 0.3;

    WebDepictionViewController();

    // The inputs; set before the view loads.
    const std::optional<foundation::URL>& websiteURL() const { return websiteURL_; }
    void setWebsiteURL(std::optional<foundation::URL> url) { websiteURL_ = std::move(url); }
    const std::string& packageIdentifier() const { return packageIdentifier_; }
    void setPackageIdentifier(std::string identifier) {
        packageIdentifier_ = std::move(identifier);
    }
    // Presented modally: a Close button dismisses it.
    bool isPresented() const { return isPresented_; }
    void setIsPresented(bool presented) { isPresented_ = presented; }
    const std::optional<std::string>& viewTitle() const { return viewTitle_; }
    void setViewTitle(std::optional<std::string> title) { viewTitle_ = std::move(title); }

    // The depiction request as it was last sent; nothing without a website URL.
    const std::optional<foundation::URLRequest>& request() const { return request_; }
    const std::shared_ptr<webkit::WebView>& webView() const { return webView_; }

    // Rewrites the request's mode headers and the web view's user agent for the palette, and
    // loads the page again.
    void setModeForRequest();
    void getPackage(const std::shared_ptr<uikit::View>& sender);
    void presentOptions(const std::shared_ptr<uikit::View>& sender);
    void presentOptionsFromGesture(const uikit::GestureRecognizer& recognizer);
    void sharePackage(const std::shared_ptr<uikit::View>& sender);
    void dismissVC();
    // The depiction in the in-app browser, for http and https addresses only.
    void openInSafari();

    // webkit::NavigationDelegate: every navigation is allowed.
    void didStartProvisionalNavigation(webkit::WebView& webView) override;
    void didFinishNavigation(webkit::WebView& webView) override;
    void didFailProvisionalNavigation(webkit::WebView& webView,
                                      const foundation::Error& error) override;
    void didFailNavigation(webkit::WebView& webView, const foundation::Error& error) override;
    // webkit::UIDelegate: a link that asks for a new window opens in this page's web view.
    std::shared_ptr<webkit::WebView> createWebViewWithConfiguration(
        webkit::WebView& webView, webkit::WebViewConfiguration& configuration,
        const webkit::NavigationAction& action) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::weak_ptr<WebDepictionViewController> weakSelf();
    void buildBarButtons();
    void connectButtons();
    void buildWebView();
    std::string applicationName() const;
    void progressChanged(double progress);
    void contentSizeChanged(const uikit::Size& size);
    void loadFailed(const foundation::Error& error);
    void updateGetButtonTitle(const std::optional<KSRPackage>& package);
    void layoutPage();

    std::optional<foundation::URL> websiteURL_;
    std::string packageIdentifier_;
    bool isPresented_ = false;
    std::optional<std::string> viewTitle_;
    std::optional<foundation::URLRequest> request_;
    bool firstAppear_ = true;
    std::shared_ptr<webkit::WebView> webView_;
    foundation::ObservationToken progressObservation_;
    foundation::ObservationToken contentSizeObservation_;
};

}  // namespace corvane
