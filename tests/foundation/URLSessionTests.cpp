#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "foundation/RunLoop.h"
#include "foundation/URLError.h"
#include "foundation/URLSession.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"
#include "support/SilentListener.h"
#include "support/ThreadCount.h"

using namespace foundation;
using testing_support::CannedResponse;
using testing_support::HttpServer;

namespace {

struct DataOutcome {
    std::optional<URLSessionDataTask::Data> data;
    std::optional<HTTPURLResponse> response;
    std::optional<Error> error;
    bool onMainThread = true;

    std::string text() const {
        return data ? std::string(data->begin(), data->end()) : "<no data>";
    }
    long code() const { return error ? error->code : 0; }
};

// Starts the task and waits for its completion handler.
DataOutcome await(const std::shared_ptr<URLSessionDataTask>& task,
                  const std::shared_ptr<std::promise<DataOutcome>>& promise) {
    auto future = promise->get_future();
    task->resume();
    if (future.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "the completion handler never ran";
        return {};
    }
    return future.get();
}

DataOutcome load(URLSession& session, URLRequest request) {
    auto promise = std::make_shared<std::promise<DataOutcome>>();
    auto task = session.dataTaskWithRequest(
        std::move(request), [promise](auto data, auto response, auto error) {
            promise->set_value(
                {std::move(data), std::move(response), std::move(error), isMainThread()});
        });
    return await(task, promise);
}

// Throws, failing the test, for text that is no URL.
URL urlOf(std::string_view text) {
    return URL::withString(text).value();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class URLSessionTest : public ::testing::Test {
  protected:
    void SetUp() override { server.start(); }
    URLRequest request(std::string_view path) { return URLRequest(urlOf(server.url(path))); }

    HttpServer server;
    URLSessionConfiguration configuration =
        URLSessionConfiguration::ephemeralSessionConfiguration();
};

}  // namespace

TEST_F(URLSessionTest, ReportsStatusHeadersAndBodyOffTheMainThread) {
    CannedResponse hello;
    hello.status = 201;
    hello.headers = {{"X-Test", "yes"}};
    hello.body = "hi there";
    hello.contentType = "text/plain; charset=utf-8";
    server.route("/hello", hello);
    URLSession session(configuration);

    auto outcome = load(session, request("/hello?x=1"));
    ASSERT_FALSE(outcome.error) << outcome.error->localizedDescription();
    EXPECT_EQ(outcome.text(), "hi there");
    ASSERT_TRUE(outcome.response);
    EXPECT_EQ(outcome.response->statusCode, 201);
    EXPECT_EQ(outcome.response->valueForHTTPHeaderField("x-TEST"), "yes");
    EXPECT_EQ(outcome.response->mimeType(), "text/plain");
    // The server compresses text, so the length on the wire differs from the body's.
    EXPECT_GT(outcome.response->expectedContentLength, 0);
    EXPECT_EQ(outcome.response->url.absoluteString(), server.url("/hello?x=1"));
    EXPECT_FALSE(outcome.onMainThread);

    auto missing = load(session, request("/nothing-here"));
    EXPECT_FALSE(missing.error) << "an HTTP error status is an answer, not a failure";
    EXPECT_EQ(missing.response->statusCode, 404);
}

TEST_F(URLSessionTest, RequestsCarryTheirMethodHeadersAndBody) {
    server.route("/submit", CannedResponse{});
    configuration.HTTPAdditionalHeaders.set("X-Firmware", "14.3");
    configuration.HTTPAdditionalHeaders.set("X-Machine", "from the configuration");
    configuration.HTTPAdditionalHeaders.set("User-Agent", "Tester/1.0");
    URLSession session(configuration);

    auto submit = request("/submit?token=a%20b");
    submit.HTTPMethod = "POST";
    std::string body = "udid=123&name=x";
    submit.HTTPBody.assign(body.begin(), body.end());
    submit.setValue("iPhone10,3", "X-Machine");
    submit.setValue("gone", "X-Removed");
    submit.setValue(std::nullopt, "x-removed");
    submit.setValue("evil\r\nInjected: yes", "X-Line");
    ASSERT_FALSE(load(session, submit).error);

    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& received = requests[0];
    EXPECT_EQ(received.method, "POST");
    EXPECT_EQ(received.path, "/submit");
    EXPECT_EQ(received.query, "token=a%20b");
    EXPECT_EQ(received.body, body);
    EXPECT_EQ(received.header("X-Machine"), "iPhone10,3");
    EXPECT_EQ(received.header("X-Firmware"), "14.3");
    EXPECT_EQ(received.header("User-Agent"), "Tester/1.0");
    EXPECT_FALSE(received.header("X-Removed"));
    EXPECT_FALSE(received.header("Injected"));
}

TEST_F(URLSessionTest, FailsWhenTheServerStaysSilentTooLong) {
    CannedResponse slow;
    slow.delaySeconds = 30;
    server.route("/slow", slow);
    URLSession session(configuration);

    auto timed = request("/slow");
    timed.timeoutInterval = 0.3;
    auto outcome = load(session, timed);
    EXPECT_EQ(outcome.code(), URLError::TimedOut);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->domain, URLError::kDomain);
    EXPECT_FALSE(outcome.data);
    EXPECT_FALSE(outcome.response);

    configuration.timeoutIntervalForRequest = 0.3;
    URLSession impatient(configuration);
    EXPECT_EQ(load(impatient, request("/slow")).code(), URLError::TimedOut);
}

TEST_F(URLSessionTest, FailsOnABodyOverTheCap) {
    CannedResponse big;
    big.body = std::string(4096, 'x');
    server.route("/big", big);
    big.chunked = true;
    server.route("/big-chunked", big);
    CannedResponse exact;
    exact.body = std::string(1024, 'y');
    server.route("/exact", exact);
    configuration.maximumResponseBytes = 1024;
    URLSession session(configuration);

    for (const char* path : {"/big", "/big-chunked"}) {
        auto outcome = load(session, request(path));
        EXPECT_EQ(outcome.code(), URLError::DataLengthExceedsMaximum) << path;
        EXPECT_FALSE(outcome.data) << path;
    }
    EXPECT_EQ(load(session, request("/exact")).data->size(), 1024u);
}

TEST_F(URLSessionTest, RefusesSchemesOtherThanHttpHttpsAndFile) {
    URLSession session(configuration);
    for (std::string text :
         {"ftp://127.0.0.1:" + std::to_string(server.port()) + "/x",
          std::string("gopher://127.0.0.1/1"), std::string("javascript:alert(1)"),
          std::string("data:text/plain,hi")}) {
        auto outcome = load(session, URLRequest(urlOf(text)));
        EXPECT_EQ(outcome.code(), URLError::UnsupportedURL) << text;
        EXPECT_FALSE(outcome.data) << text;
    }

    CannedResponse toFile;
    toFile.status = 302;
    toFile.headers = {{"Location", "file:///etc/hostname"}};
    server.route("/to-file", toFile);
    auto redirected = load(session, request("/to-file"));
    EXPECT_TRUE(redirected.error) << "a redirect must never reach a local file";
    EXPECT_FALSE(redirected.data);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(URLSessionTest, FollowsRedirectsUpToALimit) {
    CannedResponse target;
    target.body = "arrived";
    server.route("/target", target);
    CannedResponse moved;
    moved.status = 301;
    moved.headers = {{"Location", "/target"}};
    server.route("/moved", moved);
    CannedResponse loop;
    loop.status = 302;
    loop.headers = {{"Location", "/loop"}};
    server.route("/loop", loop);
    URLSession session(configuration);

    auto outcome = load(session, request("/moved"));
    EXPECT_EQ(outcome.text(), "arrived");
    EXPECT_EQ(outcome.response->url.absoluteString(), server.url("/target"));
    EXPECT_EQ(load(session, request("/loop")).code(), URLError::HTTPTooManyRedirects);
}

TEST_F(URLSessionTest, ReadsLocalFilesThroughFileURLs) {
    auto path =
        std::filesystem::temp_directory_path() / ("url session test " + std::to_string(getpid()));
    std::ofstream(path) << "local archive";
    URLSession session(configuration);

    auto outcome = load(session, URLRequest(URL::fileURL(path.string())));
    EXPECT_EQ(outcome.text(), "local archive");
    EXPECT_EQ(outcome.response->statusCode, 200);
    std::filesystem::remove(path);
    EXPECT_EQ(load(session, URLRequest(URL::fileURL(path.string()))).code(),
              URLError::FileDoesNotExist);
}

TEST_F(URLSessionTest, CancelEndsTheTaskWithCancelledAndNoData) {
    CannedResponse slow;
    slow.delaySeconds = 30;
    slow.body = "late";
    server.route("/slow", slow);
    URLSession session(configuration);

    auto promise = std::make_shared<std::promise<DataOutcome>>();
    auto task = session.dataTaskWithRequest(
        request("/slow"), [promise](auto data, auto response, auto error) {
            promise->set_value(
                {std::move(data), std::move(response), std::move(error), isMainThread()});
        });
    auto future = promise->get_future();
    task->resume();
    EXPECT_EQ(task->state(), URLSessionTask::State::Running);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !server.requests().empty(); }, 10));
    task->cancel();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    auto outcome = future.get();
    EXPECT_EQ(outcome.code(), URLError::Cancelled);
    EXPECT_FALSE(outcome.data);
    EXPECT_EQ(task->state(), URLSessionTask::State::Completed);

    auto neverStarted = std::make_shared<std::promise<DataOutcome>>();
    auto idle =
        session.dataTaskWithRequest(request("/slow"), [neverStarted](auto d, auto r, auto e) {
            neverStarted->set_value({std::move(d), std::move(r), std::move(e), isMainThread()});
        });
    EXPECT_EQ(idle->state(), URLSessionTask::State::Suspended);
    idle->cancel();
    EXPECT_EQ(await(idle, neverStarted).code(), URLError::Cancelled);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(URLSessionTest, CannotConnectToAClosedPort) {
    HttpServer closed;
    closed.start();
    auto address = closed.url("/x");
    closed.stop();
    URLSession session(configuration);
    EXPECT_EQ(load(session, URLRequest(urlOf(address))).code(), URLError::CannotConnectToHost);
}

TEST_F(URLSessionTest, DownloadsLandInATemporaryFileThatIsRemovedAfterwards) {
    CannedResponse archive;
    for (int i = 0; i < 100000; ++i)
        archive.body += static_cast<char>(i % 251);
    archive.contentType = "application/x-deb";
    server.route("/pkg.deb", archive);
    URLSession session(configuration);

    std::mutex mutex;
    double lastFraction = 0;
    std::string path, contents;
    std::optional<long> status;
    bool onMain = true;
    std::promise<void> done;
    auto task = session.downloadTaskWithRequest(request("/pkg.deb"),
                                                [&](auto location, auto response, auto error) {
                                                    EXPECT_FALSE(error);
                                                    if (location) {
                                                        path = location->path();
                                                        contents = readFile(path);
                                                    }
                                                    if (response)
                                                        status = response->statusCode;
                                                    onMain = isMainThread();
                                                    done.set_value();
                                                });
    auto token = task->fractionCompleted().observe([&](double fraction) {
        std::lock_guard lock(mutex);
        EXPECT_GE(fraction, lastFraction);
        lastFraction = fraction;
    });
    task->resume();
    ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    session.delegateQueue()->waitUntilAllOperationsAreFinished();

    EXPECT_EQ(status, 200);
    EXPECT_FALSE(onMain);
    EXPECT_TRUE(contents == archive.body) << "the file holds " << contents.size() << " bytes";
    EXPECT_FALSE(path.empty());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(task->countOfBytesReceived(), 100000);
    EXPECT_EQ(task->countOfBytesExpectedToReceive(), 100000);
    std::lock_guard lock(mutex);
    EXPECT_EQ(lastFraction, 1.0);
}

TEST_F(URLSessionTest, CompletionRunsOnTheMainLoopWhenTheDelegateQueueIsMain) {
    server.route("/hello", CannedResponse{});
    URLSession session(configuration, OperationQueue::mainQueue());
    bool ran = false;
    bool onMain = false;
    auto task = session.dataTaskWithRequest(request("/hello"), [&](auto, auto, auto) {
        ran = true;
        onMain = isMainThread();
    });
    task->resume();
    testing_support::pumpUntil([&] { return ran; });
    EXPECT_TRUE(onMain);
}

// What two servers saw: the order in which requests arrived, and how many each served at once.
struct ServedAtOnce {
    std::mutex mutex;
    std::vector<std::string> arrivals;
    std::map<int, int> now;
    std::map<int, int> most;
    int total = 0;
    int mostTotal = 0;

    HttpServer::Handler handler(int server) {
        return [this, server](const testing_support::CapturedRequest& request) {
            {
                std::lock_guard lock(mutex);
                arrivals.push_back(request.path);
                most[server] = std::max(most[server], ++now[server]);
                mostTotal = std::max(mostTotal, ++total);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            std::lock_guard lock(mutex);
            --now[server];
            --total;
            return CannedResponse{};
        };
    }
};

TEST_F(URLSessionTest, LoadsBeyondTheConnectionLimitsWaitTheirTurnInOrder) {
    auto served = std::make_shared<ServedAtOnce>();
    server.setFallback(served->handler(1));
    HttpServer other;
    other.setFallback(served->handler(2));
    other.start();
    configuration.HTTPMaximumConnectionsPerHost = 2;
    configuration.maximumConnectionsPerSession = 3;
    URLSession session(configuration);

    auto succeeded = std::make_shared<std::atomic<int>>(0);
    auto add = [&](URLRequest request) {
        session
            .dataTaskWithRequest(std::move(request),
                                 [succeeded](auto, auto response, auto) {
                                     *succeeded += response && response->statusCode == 200;
                                 })
            ->resume();
    };
    for (int i = 1; i <= 6; ++i)
        add(request("/a/" + std::to_string(i)));
    add(URLRequest(urlOf(other.url("/b/1"))));
    add(URLRequest(urlOf(other.url("/b/2"))));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return *succeeded == 8; }, 20));

    std::lock_guard lock(served->mutex);
    EXPECT_EQ(served->most[1], 2);
    EXPECT_LE(served->most[2], 2);
    EXPECT_LE(served->mostTotal, 3);
    const auto& arrivals = served->arrivals;
    ASSERT_EQ(arrivals.size(), 8u);
    // The other server's first load did not wait behind the queue of a busy host.
    EXPECT_EQ(std::set<std::string>(arrivals.begin(), arrivals.begin() + 3),
              (std::set<std::string>{"/a/1", "/a/2", "/b/1"}));
    auto position = [&](const std::string& path) {
        return std::find(arrivals.begin(), arrivals.end(), path) - arrivals.begin();
    };
    EXPECT_LT(position("/a/3"), position("/a/6"));
}

TEST_F(URLSessionTest, LoadsToASilentServerHoldNoMoreThreadsThanTheSessionsCap) {
    testing_support::SilentListener silent;
    configuration.timeoutIntervalForRequest = 0.2;
    URLSession session(configuration);
    const std::size_t before = testing_support::threadCount();
    auto timedOut = std::make_shared<std::atomic<int>>(0);
    for (int i = 0; i < 100; ++i)
        session
            .dataTaskWithRequest(URLRequest(urlOf(silent.url("/" + std::to_string(i)))),
                                 [timedOut](auto, auto, auto error) {
                                     *timedOut += error && error->code == URLError::TimedOut;
                                 })
            ->resume();
    std::size_t most = 0;
    ASSERT_TRUE(RunLoop::main().runUntil(
        [&] {
            most = std::max(most, testing_support::threadCount());
            return *timedOut == 100;
        },
        30));
    // The delegate queue's few threads come on top of the loading ones.
    EXPECT_LE(most, before + configuration.HTTPMaximumConnectionsPerHost + 4);
}
