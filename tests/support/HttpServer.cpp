// The only file that includes cpp-httplib: its header is heavy.
#include "support/HttpServer.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testing_support {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string contentTypeFor(const std::filesystem::path& file) {
    static const std::map<std::string, std::string> kTypes = {
        {".html", "text/html"}, {".json", "application/json"}, {".txt", "text/plain"},
        {".png", "image/png"},  {".jpg", "image/jpeg"},        {".plist", "application/xml"},
    };
    auto type = kTypes.find(file.extension().string());
    return type != kTypes.end() ? type->second : "application/octet-stream";
}

CapturedRequest capture(const httplib::Request& request) {
    CapturedRequest captured{request.method, request.path, {}, {}, request.body};
    auto mark = request.target.find('?');
    if (mark != std::string::npos)
        captured.query = request.target.substr(mark + 1);
    for (const auto& [name, value] : request.headers)
        captured.headers.emplace_back(name, value);
    return captured;
}

}  // namespace

std::optional<std::string> CapturedRequest::header(std::string_view name) const {
    for (const auto& [field, value] : headers)
        if (sameName(field, name))
            return value;
    return std::nullopt;
}

struct HttpServer::Impl {
    std::optional<CannedResponse> answer(const CapturedRequest& request);
    std::optional<CannedResponse> fileFor(const std::string& path) const;
    void respond(const CannedResponse& canned, httplib::Response& response);
    // False when the server stopped during the wait.
    bool wait(double seconds);

    httplib::Server server;
    std::thread listener;
    int port = -1;
    mutable std::mutex mutex;
    std::condition_variable stopped;
    bool stopping = false;
    std::map<std::string, CannedResponse> routes;
    std::optional<std::filesystem::path> folder;
    Handler fallback;
    std::vector<CapturedRequest> requests;
};

std::optional<CannedResponse> HttpServer::Impl::answer(const CapturedRequest& request) {
    Handler handler;
    {
        std::lock_guard lock(mutex);
        requests.push_back(request);
        auto route = routes.find(request.path);
        if (route != routes.end())
            return route->second;
        if (auto file = fileFor(request.path))
            return file;
        handler = fallback;
    }
    // Outside the lock: a fallback may read the server's records.
    if (handler)
        return handler(request);
    return std::nullopt;
}

std::optional<CannedResponse> HttpServer::Impl::fileFor(const std::string& path) const {
    if (!folder)
        return std::nullopt;
    auto relative = std::filesystem::path(path).relative_path();
    for (const auto& part : relative)
        if (part == "..")
            return std::nullopt;
    auto file = *folder / relative;
    std::ifstream in(file, std::ios::binary);
    if (!std::filesystem::is_regular_file(file) || !in)
        return std::nullopt;
    std::ostringstream body;
    body << in.rdbuf();
    CannedResponse response;
    response.body = body.str();
    response.contentType = contentTypeFor(file);
    return response;
}

void HttpServer::Impl::respond(const CannedResponse& canned, httplib::Response& response) {
    if (canned.delaySeconds > 0 && !wait(canned.delaySeconds))
        return;
    response.status = canned.status;
    for (const auto& [name, value] : canned.headers)
        response.set_header(name, value);
    if (!canned.chunked) {
        response.set_content(canned.body, canned.contentType);
        return;
    }
    response.set_chunked_content_provider(
        canned.contentType, [body = canned.body](std::size_t offset, httplib::DataSink& sink) {
            std::size_t piece = std::min<std::size_t>(4096, body.size() - offset);
            if (piece > 0)
                sink.write(body.data() + offset, piece);
            if (offset + piece >= body.size())
                sink.done();
            return true;
        });
}

bool HttpServer::Impl::wait(double seconds) {
    std::unique_lock lock(mutex);
    return !stopped.wait_for(lock, std::chrono::duration<double>(seconds),
                             [this] { return stopping; });
}

HttpServer::HttpServer() : impl_(std::make_unique<Impl>()) {
    auto handler = [impl = impl_.get()](const httplib::Request& request,
                                        httplib::Response& response) {
        auto canned = impl->answer(capture(request));
        if (canned)
            impl->respond(*canned, response);
        else
            response.status = 404;
    };
    impl_->server.Get(".*", handler);
    impl_->server.Post(".*", handler);
    impl_->server.Put(".*", handler);
    impl_->server.Patch(".*", handler);
    impl_->server.Delete(".*", handler);
    impl_->server.Options(".*", handler);
    impl_->server.set_keep_alive_timeout(1);
}

HttpServer::~HttpServer() {
    stop();
}

void HttpServer::route(std::string path, CannedResponse response) {
    std::lock_guard lock(impl_->mutex);
    impl_->routes[std::move(path)] = std::move(response);
}

void HttpServer::serveFolder(std::filesystem::path folder) {
    std::lock_guard lock(impl_->mutex);
    impl_->folder = std::move(folder);
}

void HttpServer::setFallback(Handler handler) {
    std::lock_guard lock(impl_->mutex);
    impl_->fallback = std::move(handler);
}

void HttpServer::start() {
    if (impl_->listener.joinable())
        return;
    // Bound and listening before start() returns, so a request made at once is queued.
    impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
    if (impl_->port <= 0)
        throw std::runtime_error("the test HTTP server could not bind to 127.0.0.1");
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopping = false;
    }
    impl_->listener = std::thread([impl = impl_.get()] { impl->server.listen_after_bind(); });
    // httplib's stop() does nothing until the listening loop has begun.
    while (!impl_->server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void HttpServer::stop() {
    if (!impl_->listener.joinable())
        return;
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
    }
    impl_->stopped.notify_all();
    impl_->server.stop();
    impl_->listener.join();
}

int HttpServer::port() const {
    return impl_->port;
}

std::string HttpServer::url(std::string_view path) const {
    std::string text = "http://127.0.0.1:" + std::to_string(impl_->port);
    if (!path.starts_with('/'))
        text += '/';
    return text + std::string(path);
}

std::vector<CapturedRequest> HttpServer::requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

}  // namespace testing_support
