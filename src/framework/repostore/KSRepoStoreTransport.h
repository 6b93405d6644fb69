#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/OperationQueue.h"
#include "foundation/URL.h"
#include "foundation/URLSession.h"
#include "foundation/Value.h"
#include "framework/repostore/KSRepoStoreReply.h"

namespace corvane {

// Carries the requests of the payment-endpoint protocol: JSON objects posted with the device
// headers, replies capped in size and sorted into a KSRepoStoreReply. Completions run on the
// session's serial delegate queue (the network queue).
class KSRepoStoreTransport {
  public:
    static constexpr std::int64_t kMaximumReplyBytes = std::int64_t{1} << 20;
    // The endpoint's error texts reach alerts; longer ones are cut.
    static constexpr std::size_t kMaximumErrorTextBytes = 1024;

    using ReplyHandler = std::function<void(KSRepoStoreReply reply)>;
    // The body of a 200 reply; nullopt after a transport failure, when answered is false.
    using TextHandler =
        std::function<void(bool answered, long status, std::optional<std::string> body)>;

    KSRepoStoreTransport();

    void post(const foundation::URL& url, const foundation::Value& body, ReplyHandler handler);
    void get(const foundation::URL& url, TextHandler handler);
    // Runs the block on the network queue, where replies are handed on.
    void deliver(std::function<void()> block);

  private:
    static KSRepoStoreReply sort(const std::optional<foundation::URLSessionDataTask::Data>& data,
                                 const std::optional<foundation::HTTPURLResponse>& response,
                                 const std::optional<foundation::Error>& error);
    static void readCommonFields(KSRepoStoreReply& reply);

    std::shared_ptr<foundation::URLSession> session_;
};

}  // namespace corvane
