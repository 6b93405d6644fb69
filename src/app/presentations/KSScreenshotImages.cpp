#include "app/presentations/KSScreenshotImages.h"

#include "foundation/Dispatch.h"
#include "foundation/URL.h"
#include "foundation/URLSession.h"

namespace corvane {

namespace {

struct Download {
    std::vector<std::string> addresses;
    std::size_t next = 0;
    std::vector<std::shared_ptr<uikit::Image>> images;
    KSScreenshotImages::Completion completion;
};

const std::shared_ptr<foundation::URLSession>& session() {
    static const auto shared = [] {
        auto configuration = foundation::URLSessionConfiguration::defaultSessionConfiguration();
        configuration.maximumResponseBytes = KSScreenshotImages::kMaximumBytes;
        return std::make_shared<foundation::URLSession>(configuration);
    }();
    return shared;
}

std::optional<foundation::URL> webAddress(const std::string& text) {
    auto url = foundation::URL::withString(text);
    if (!url || (url->scheme() != "http" && url->scheme() != "https"))
        return std::nullopt;
    return url;
}

void downloadNext(std::shared_ptr<Download> download) {
    while (download->next < download->addresses.size()) {
        auto url = webAddress(download->addresses[download->next++]);
        if (!url)
            continue;
        session()
            ->dataTaskWithURL(*url,
                              [download](std::optional<foundation::URLSessionDataTask::Data> data,
                                         auto response, auto error) {
                                  bool ok = data && response && response->statusCode == 200;
                                  if (auto image = ok ? uikit::Image::fromData(*data) : nullptr)
                                      download->images.push_back(std::move(image));
                                  downloadNext(download);
                              })
            ->resume();
        return;
    }
    foundation::runOnMain([download] { download->completion(std::move(download->images)); });
}

}  // namespace

void KSScreenshotImages::download(std::vector<std::string> addresses, Completion completion) {
    auto download = std::make_shared<Download>();
    download->addresses = std::move(addresses);
    download->completion = std::move(completion);
    downloadNext(std::move(download));
}

}  // namespace corvane
