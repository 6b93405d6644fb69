#include "webkit/PageLoad.h"

#include "foundation/Dispatch.h"
#include "foundation/URLError.h"
#include "foundation/URLSession.h"

namespace webkit {

namespace {

constexpr const char* kHTMLContentType = "text/html; charset=utf-8";

// Pages share one session, with nothing kept between requests and bodies no larger than a
// document may be.
const std::shared_ptr<foundation::URLSession>& pageSession() {
    static auto* session = new std::shared_ptr<foundation::URLSession>([] {
        auto configuration = foundation::URLSessionConfiguration::ephemeralSessionConfiguration();
        configuration.maximumResponseBytes = html::HTMLDocument::kMaximumBytes;
        return std::make_shared<foundation::URLSession>(configuration);
    }());
    return *session;
}

foundation::Result<PageLoad::Page> parsed(foundation::HTTPURLResponse response,
                                          std::string_view bytes) {
    auto contentType = response.valueForHTTPHeaderField("Content-Type");
    auto document = html::HTMLDocument::parse(bytes, contentType);
    if (!document)
        return foundation::URLError::make(foundation::URLError::DataLengthExceedsMaximum,
                                          response.url.absoluteString());
    return PageLoad::Page{std::move(response), std::move(document)};
}

}  // namespace

bool PageLoad::canFetch(const foundation::URL& url) {
    return url.hasWebScheme() || url.absoluteString() == "about:blank";
}

std::shared_ptr<PageLoad> PageLoad::start(Source source, const std::string& userAgent,
                                          Progress progress, Completion completion) {
    auto load = std::make_shared<PageLoad>(std::move(progress), std::move(completion));
    const foundation::URL& url = source.request.url;
    if (source.html || url.absoluteString() == "about:blank") {
        load->parse(source.html.value_or(""), url);
    } else if (canFetch(url)) {
        if (!source.request.valueForHTTPHeaderField("User-Agent"))
            source.request.setValue(userAgent, "User-Agent");
        load->fetch(std::move(source.request));
    } else {
        load->deliver(
            foundation::URLError::make(foundation::URLError::UnsupportedURL, url.absoluteString()));
    }
    return load;
}

PageLoad::~PageLoad() {
    if (task_)
        task_->cancel();
}

void PageLoad::cancel() {
    cancelled_ = true;
    progressToken_.reset();
    if (task_)
        task_->cancel();
}

void PageLoad::fetch(foundation::URLRequest request) {
    std::weak_ptr<PageLoad> weak = weak_from_this();
    task_ = pageSession()->dataTaskWithRequest(
        std::move(request), [weak](auto body, auto response, auto error) {
            auto self = weak.lock();
            if (!self)
                return;
            if (error)
                self->deliver(std::move(*error));
            else
                self->deliver(parsed(std::move(*response),
                                     {reinterpret_cast<const char*>(body->data()), body->size()}));
        });
    progressToken_ = task_->fractionCompleted().observe([weak](const double& fraction) {
        foundation::runOnMain([weak, fraction] {
            auto self = weak.lock();
            if (self && !self->cancelled_ && self->progress_)
                self->progress_(fraction);
        });
    });
    task_->resume();
}

void PageLoad::parse(std::string html, const foundation::URL& url) {
    std::weak_ptr<PageLoad> weak = weak_from_this();
    foundation::runInBackground([weak, html = std::move(html), url] {
        foundation::HTTPURLResponse response(url);
        response.statusCode = 200;
        response.headers.set("Content-Type", kHTMLContentType);
        response.expectedContentLength = static_cast<std::int64_t>(html.size());
        if (auto self = weak.lock())
            self->deliver(parsed(std::move(response), html));
    });
}

void PageLoad::deliver(foundation::Result<Page> page) {
    std::weak_ptr<PageLoad> weak = weak_from_this();
    foundation::runAsyncOnMain([weak, page = std::move(page)] {
        auto self = weak.lock();
        if (self && !self->cancelled_)
            self->completion_(page);
    });
}

}  // namespace webkit
