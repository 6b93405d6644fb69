#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testing_support {

// A request as the server received it.
struct CapturedRequest {
    std::string method;
    std::string path;   // decoded
    std::string query;  // as sent, without "?"
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // Case-insensitive lookup of a header field.
    std::optional<std::string> header(std::string_view name) const;
};

struct CannedResponse {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string contentType = "text/plain";
    // Real seconds to wait before answering; stop() cuts the wait short.
    double delaySeconds = 0;
    // Sent in chunks without Content-Length, so the client learns the size only at the end.
    bool chunked = false;
};

// An HTTP server on 127.0.0.1 with an ephemeral port, for tests. A request is answered by the
// route of its exact path, else by a file of the served folder, else by the fallback, else 404.
// Every request is recorded.
class HttpServer {
  public:
    using Handler = std::function<CannedResponse(const CapturedRequest&)>;

    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // For any method; replaces an earlier route of the same path. May be called while running.
    void route(std::string path, CannedResponse response);
    void serveFolder(std::filesystem::path folder);
    void setFallback(Handler handler);

    void start();
    void stop();

    int port() const;
    // "http://127.0.0.1:PORT" + path ("/" added when path does not start with one).
    std::string url(std::string_view path = "/") const;
    std::vector<CapturedRequest> requests() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace testing_support
