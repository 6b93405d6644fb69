#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "foundation/Error.h"
#include "foundation/URL.h"
#include "framework/repostore/KSRepoStoreBrowser.h"
#include "framework/repostore/KSRepoStorePurchaseResponse.h"
#include "framework/repostore/KSRepoStoreSigninResponse.h"

namespace corvane {

// The one sign-in or payment that this client started in the in-app browser and that waits for
// the browser's callback. A callback is taken only by a pending flow of its own kind; starting
// another flow or closing the browser cancels the pending one, so a late callback can never
// reach a source it was not meant for. Main thread only.
class KSRepoStorePendingFlow {
  public:
    // Runs a block where purchase completions are delivered.
    using Deliver = std::function<void(std::function<void()>)>;

    struct Signin {
        std::string location;
        std::function<void(KSRepoStoreSigninResponse)> completion;
    };
    struct Payment {
        std::string location;
        std::string identifier;
        std::function<void(KSRepoStorePurchaseResponse)> completion;
    };

    explicit KSRepoStorePendingFlow(Deliver purchaseQueue);

    // Each cancels the pending flow, then shows the page; when the page cannot be shown the new
    // flow ends at once with BrowserUnavailable.
    void start(Signin signin, const foundation::URL& page);
    void start(Payment payment, const foundation::URL& page);
    // Ends the pending flow of that kind and closes its browser; nullopt when none is pending.
    std::optional<Signin> takeSignin();
    std::optional<Payment> takePayment();

  private:
    using Flow = std::variant<std::monostate, Signin, Payment>;

    void begin(Flow flow, const foundation::URL& page);
    void cancel(const foundation::Error& reason);
    template <typename T>
    std::optional<T> take();

    Deliver purchaseQueue_;
    std::shared_ptr<KSRepoStoreBrowser> browser_ = std::make_shared<KSRepoStoreBrowser>();
    Flow pending_;
    // Tells a closed browser of an earlier flow from the current one.
    std::uint64_t generation_ = 0;
};

}  // namespace corvane
