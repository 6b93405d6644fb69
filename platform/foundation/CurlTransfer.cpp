#include "foundation/CurlTransfer.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <mutex>

#include "foundation/Strings.h"

namespace foundation {

namespace {

void initialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::int64_t nowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

URLError::Code codeFor(CURLcode code) {
    switch (code) {
        case CURLE_UNSUPPORTED_PROTOCOL:
            return URLError::UnsupportedURL;
        case CURLE_URL_MALFORMAT:
            return URLError::BadURL;
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_RESOLVE_HOST:
            return URLError::CannotFindHost;
        case CURLE_COULDNT_CONNECT:
            return URLError::CannotConnectToHost;
        case CURLE_OPERATION_TIMEDOUT:
            return URLError::TimedOut;
        case CURLE_TOO_MANY_REDIRECTS:
            return URLError::HTTPTooManyRedirects;
        case CURLE_FILESIZE_EXCEEDED:
            return URLError::DataLengthExceedsMaximum;
        case CURLE_FILE_COULDNT_READ_FILE:
            return URLError::FileDoesNotExist;
        case CURLE_PEER_FAILED_VERIFICATION:
            return URLError::ServerCertificateUntrusted;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
            return URLError::SecureConnectionFailed;
        case CURLE_GOT_NOTHING:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
            return URLError::NetworkConnectionLost;
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_BAD_CONTENT_ENCODING:
            return URLError::BadServerResponse;
        case CURLE_WRITE_ERROR:
            return URLError::CannotWriteToFile;
        default:
            return URLError::Unknown;
    }
}

// Methods come from code, but one with a line break would forge a request line.
bool isMethod(std::string_view method) {
    return !method.empty() && std::ranges::all_of(method, [](char c) {
        return std::isalpha(static_cast<unsigned char>(c)) || c == '-';
    });
}

long milliseconds(double seconds) {
    return static_cast<long>(std::ceil(std::clamp(seconds, 0.001, 1e9) * 1000));
}

}  // namespace

CurlTransfer::CurlTransfer(URLRequest request, const URLSessionConfiguration& configuration)
    : request_(std::move(request)),
      configuration_(configuration),
      idleTimeout_(std::min(request_.timeoutInterval, configuration.timeoutIntervalForRequest)) {
    initialiseCurl();
    easy_ = curl_easy_init();
    multi_ = curl_multi_init();
}

CurlTransfer::~CurlTransfer() {
    if (multi_ && easy_)
        curl_multi_remove_handle(multi_, easy_);
    curl_easy_cleanup(easy_);
    curl_multi_cleanup(multi_);
    curl_slist_free_all(headerList_);
}

Result<HTTPURLResponse> CurlTransfer::perform(BodySink sink, ProgressHandler progress) {
    sink_ = std::move(sink);
    progress_ = std::move(progress);
    if (!easy_ || !multi_)
        return error(URLError::Unknown);
    if (!isMethod(request_.HTTPMethod))
        return error(URLError::BadURL);
    if (!configure())
        return error(URLError::UnsupportedURL);
    return outcome(run());
}

void CurlTransfer::cancel() {
    cancelled_ = true;
    if (multi_)
        curl_multi_wakeup(multi_);
}

bool CurlTransfer::configure() {
    const std::string& url = request_.url.absoluteString();
    if (curl_easy_setopt(easy_, CURLOPT_URL, url.c_str()) != CURLE_OK ||
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https,file") != CURLE_OK ||
        curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") != CURLE_OK)
        return false;
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy_, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS,
                     milliseconds(configuration_.timeoutIntervalForResource));
    if (configuration_.maximumResponseBytes > 0)
        curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(configuration_.maximumResponseBytes));
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlTransfer::onBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlTransfer::onHeader);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &CurlTransfer::onProgress);
    curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this);
    setHeaders();
    setMethod();
    return true;
}

void CurlTransfer::setHeaders() {
    HTTPHeaderFields merged = configuration_.HTTPAdditionalHeaders;
    for (const auto& [name, value] : request_.allHTTPHeaderFields().fields())
        merged.set(name, value);
    for (const auto& [name, value] : merged.fields()) {
        // "Name;" is libcurl's way to send a field with an empty value.
        std::string line = value.empty() ? name + ";" : name + ": " + value;
        headerList_ = curl_slist_append(headerList_, line.c_str());
    }
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headerList_);
}

void CurlTransfer::setMethod() {
    const std::string& method = request_.HTTPMethod;
    const auto& body = request_.HTTPBody;
    if (method == "GET") {
        curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
        return;
    }
    if (method == "HEAD") {
        curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
        return;
    }
    if (method == "POST" || !body.empty()) {
        // Never a null pointer: libcurl would read the body from standard input.
        static const char kEmpty[] = "";
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDS,
                         body.empty() ? kEmpty : reinterpret_cast<const char*>(body.data()));
    }
    if (method != "POST")
        curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, method.c_str());
}

// The transfer loop of curl_easy_perform, with our own wait so that silence is measured to the
// millisecond and cancel() wakes it at once.
CURLcode CurlTransfer::run() {
    noteActivity();
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK)
        return CURLE_FAILED_INIT;
    for (;;) {
        if (cancelled_) {
            stop_ = Stop::Cancelled;
            return CURLE_ABORTED_BY_CALLBACK;
        }
        int running = 0;
        if (curl_multi_perform(multi_, &running) != CURLM_OK)
            return CURLE_FAILED_INIT;
        if (running == 0)
            break;
        double silence = idleTimeout_ - secondsSinceActivity();
        if (silence <= 0) {
            stop_ = Stop::TimedOut;
            return CURLE_OPERATION_TIMEDOUT;
        }
        curl_multi_poll(multi_, nullptr, 0, static_cast<int>(milliseconds(silence)), nullptr);
    }
    int pending = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &pending))
        if (message->msg == CURLMSG_DONE)
            return message->data.result;
    return CURLE_FAILED_INIT;
}

Result<HTTPURLResponse> CurlTransfer::outcome(CURLcode code) const {
    switch (stop_) {
        case Stop::Cancelled:
            return error(URLError::Cancelled);
        case Stop::TimedOut:
            return error(URLError::TimedOut);
        case Stop::TooLarge:
            return error(URLError::DataLengthExceedsMaximum);
        case Stop::WriteFailed:
            return error(URLError::CannotWriteToFile);
        case Stop::None:
            break;
    }
    if (code != CURLE_OK)
        return error(codeFor(code));
    return response();
}

HTTPURLResponse CurlTransfer::response() const {
    long status = 0;
    char* effective = nullptr;
    curl_off_t length = -1;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &effective);
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    auto url = effective ? URL::withString(effective) : std::nullopt;
    HTTPURLResponse response(url.value_or(request_.url));
    // A file that could be read has no status of its own.
    response.statusCode = request_.url.isFileURL() ? 200 : status;
    response.headers = responseHeaders_;
    response.expectedContentLength = length;
    return response;
}

Error CurlTransfer::error(URLError::Code code) const {
    return URLError::make(code, request_.url.absoluteString());
}

std::size_t CurlTransfer::onBody(char* bytes, std::size_t size, std::size_t count, void* self) {
    auto* transfer = static_cast<CurlTransfer*>(self);
    std::size_t length = size * count;
    transfer->noteActivity();
    transfer->bodyBytes_ += static_cast<std::int64_t>(length);
    std::int64_t cap = transfer->configuration_.maximumResponseBytes;
    if (cap > 0 && transfer->bodyBytes_ > cap) {
        transfer->stop_ = Stop::TooLarge;
        return 0;
    }
    if (transfer->sink_ && !transfer->sink_(bytes, length)) {
        transfer->stop_ = Stop::WriteFailed;
        return 0;
    }
    return length;
}

std::size_t CurlTransfer::onHeader(char* bytes, std::size_t size, std::size_t count, void* self) {
    auto* transfer = static_cast<CurlTransfer*>(self);
    std::size_t length = size * count;
    std::string_view line(bytes, length);
    transfer->noteActivity();
    // Each response of a redirect chain starts with its status line; only the last one counts.
    if (line.starts_with("HTTP/")) {
        transfer->responseHeaders_ = {};
        return length;
    }
    std::size_t colon = line.find(':');
    if (colon != std::string_view::npos)
        transfer->responseHeaders_.add(trimmed(line.substr(0, colon)),
                                       trimmed(line.substr(colon + 1)));
    return length;
}

int CurlTransfer::onProgress(void* self, curl_off_t downloadTotal, curl_off_t downloadNow,
                             curl_off_t uploadTotal, curl_off_t uploadNow) {
    auto* transfer = static_cast<CurlTransfer*>(self);
    std::int64_t moved = downloadNow + uploadNow;
    if (moved == transfer->reportedBytes_)
        return 0;
    transfer->reportedBytes_ = moved;
    transfer->noteActivity();
    if (transfer->progress_)
        transfer->progress_(downloadNow, downloadTotal > 0 ? downloadTotal : -1);
    return 0;
}

void CurlTransfer::noteActivity() {
    lastActivity_ = nowNanoseconds();
}

double CurlTransfer::secondsSinceActivity() const {
    return static_cast<double>(nowNanoseconds() - lastActivity_) / 1e9;
}

}  // namespace foundation
