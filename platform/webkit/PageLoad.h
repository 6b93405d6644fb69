#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/HTTPURLResponse.h"
#include "foundation/ObservationToken.h"
#include "foundation/Result.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSessionDataTask.h"
#include "html/HTMLDocument.h"

namespace webkit {

// One load of a page for a web view: http and https requests are fetched through URLSession,
// the HTML that a caller handed over (with its base URL as the request's URL) and about:blank
// are taken as they are. Any other URL (javascript:, file:, data:, custom schemes) is never
// loaded. The page is parsed off the main thread; progress and the outcome arrive on the main
// thread until the load is cancelled.
class PageLoad : public std::enable_shared_from_this<PageLoad> {
  public:
    struct Source {
        foundation::URLRequest request;
        std::optional<std::string> html;
    };
    struct Page {
        foundation::HTTPURLResponse response;
        std::shared_ptr<const html::HTMLDocument> document;
    };
    // The fraction of the body received, 0 to 1.
    using Progress = std::function<void(double fraction)>;
    using Completion = std::function<void(foundation::Result<Page> page)>;

    // http, https or about:blank.
    static bool canFetch(const foundation::URL& url);
    // A source of neither kind fails with URLError::UnsupportedURL. The user agent is sent
    // when the request names none of its own.
    static std::shared_ptr<PageLoad> start(Source source, const std::string& userAgent,
                                           Progress progress, Completion completion);

    // Stops the transfer; neither progress nor completion is called afterwards. Main thread.
    void cancel();

    PageLoad(Progress progress, Completion completion)
        : progress_(std::move(progress)), completion_(std::move(completion)) {}
    // A load nobody holds any more stops its transfer.
    ~PageLoad();
    PageLoad(const PageLoad&) = delete;
    PageLoad& operator=(const PageLoad&) = delete;

  private:
    void fetch(foundation::URLRequest request);
    void parse(std::string html, const foundation::URL& url);
    // Hands the outcome to the main thread.
    void deliver(foundation::Result<Page> page);

    Progress progress_;
    Completion completion_;
    bool cancelled_ = false;
    std::shared_ptr<foundation::URLSessionDataTask> task_;
    foundation::ObservationToken progressToken_;
};

}  // namespace webkit
