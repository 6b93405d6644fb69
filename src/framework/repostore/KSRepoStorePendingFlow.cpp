#include "framework/repostore/KSRepoStorePendingFlow.h"

#include <utility>

#include "foundation/Log.h"
#include "framework/repostore/KSRepoStoreError.h"

namespace corvane {

KSRepoStorePendingFlow::KSRepoStorePendingFlow(Deliver purchaseQueue)
    : purchaseQueue_(std::move(purchaseQueue)) {}

void KSRepoStorePendingFlow::start(Signin signin, const foundation::URL& page) {
    begin(std::move(signin), page);
}

void KSRepoStorePendingFlow::start(Payment payment, const foundation::URL& page) {
    begin(std::move(payment), page);
}

std::optional<KSRepoStorePendingFlow::Signin> KSRepoStorePendingFlow::takeSignin() {
    return take<Signin>();
}

std::optional<KSRepoStorePendingFlow::Payment> KSRepoStorePendingFlow::takePayment() {
    return take<Payment>();
}

template <typename T>
std::optional<T> KSRepoStorePendingFlow::take() {
    auto* flow = std::get_if<T>(&pending_);
    if (!flow)
        return std::nullopt;
    T taken = std::move(*flow);
    pending_ = std::monostate{};
    browser_->close();
    return taken;
}

void KSRepoStorePendingFlow::begin(Flow flow, const foundation::URL& page) {
    cancel(KSRepoStoreError::make(KSRepoStoreError::Cancelled,
                                  "Another sign-in or purchase was started."));
    pending_ = std::move(flow);
    const auto generation = ++generation_;
    bool shown = browser_->open(page, [this, generation] {
        if (generation == generation_)
            cancel(KSRepoStoreError::make(KSRepoStoreError::Cancelled, "The page was closed."));
    });
    if (!shown) {
        browser_->close();
        cancel(KSRepoStoreError::make(KSRepoStoreError::BrowserUnavailable,
                                      "The page could not be opened."));
    }
}

void KSRepoStorePendingFlow::cancel(const foundation::Error& reason) {
    Flow flow = std::exchange(pending_, std::monostate{});
    if (auto* signin = std::get_if<Signin>(&flow)) {
        KSLog("Signin for %@ ended: %@", signin->location, reason.localizedDescription());
        signin->completion({false, reason});
    } else if (auto* payment = std::get_if<Payment>(&flow)) {
        KSLog("Payment for %@ ended: %@", payment->identifier, reason.localizedDescription());
        purchaseQueue_([completion = std::move(payment->completion), reason] {
            completion({false, KSRepoStorePurchaseResponse::kStatusFailed, reason});
        });
    }
}

}  // namespace corvane
