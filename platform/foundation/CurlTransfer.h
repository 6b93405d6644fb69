#pragma once

#include <curl/curl.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "foundation/HTTPURLResponse.h"
#include "foundation/Result.h"
#include "foundation/URLError.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSessionConfiguration.h"

namespace foundation {

// One request carried out by libcurl on the calling thread, within the session's limits: http,
// https and file only, redirects to http and https only (at most 10), a time-out for silence
// and one for the whole transfer, a cap on the body. cancel() from any thread stops it at once.
class CurlTransfer {
  public:
    // Takes each piece of the body; false stops the transfer as a write failure.
    using BodySink = std::function<bool(const char* bytes, std::size_t count)>;
    // Bytes received so far and expected (-1 when unknown).
    using ProgressHandler = std::function<void(std::int64_t received, std::int64_t expected)>;

    CurlTransfer(URLRequest request, const URLSessionConfiguration& configuration);
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;
    ~CurlTransfer();

    // Once per transfer.
    Result<HTTPURLResponse> perform(BodySink sink, ProgressHandler progress);
    void cancel();

  private:
    enum class Stop { None, Cancelled, TimedOut, TooLarge, WriteFailed };

    bool configure();
    void setHeaders();
    void setMethod();
    CURLcode run();
    Result<HTTPURLResponse> outcome(CURLcode code) const;
    HTTPURLResponse response() const;
    Error error(URLError::Code code) const;
    static std::size_t onBody(char* bytes, std::size_t size, std::size_t count, void* self);
    static std::size_t onHeader(char* bytes, std::size_t size, std::size_t count, void* self);
    static int onProgress(void* self, curl_off_t downloadTotal, curl_off_t downloadNow,
                          curl_off_t uploadTotal, curl_off_t uploadNow);
    void noteActivity();
    double secondsSinceActivity() const;

    URLRequest request_;
    const URLSessionConfiguration configuration_;
    const double idleTimeout_;
    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    curl_slist* headerList_ = nullptr;
    std::atomic<bool> cancelled_ = false;
    std::atomic<std::int64_t> lastActivity_ = 0;  // steady-clock nanoseconds
    Stop stop_ = Stop::None;
    BodySink sink_;
    ProgressHandler progress_;
    std::int64_t bodyBytes_ = 0;
    std::int64_t reportedBytes_ = -1;
    HTTPHeaderFields responseHeaders_;
};

}  // namespace foundation
