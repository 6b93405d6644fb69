#include "framework/webservice/KSPackageRatings.h"

#include "foundation/Log.h"
#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSWebService.h"
#include "framework/webservice/KSWebServiceFields.h"
#include "framework/webservice/KSWebServiceReply.h"

namespace corvane {

using foundation::Result;
using foundation::Value;

namespace {

constexpr const char* kInvalidRateAnswer = "The rating must be from 1 to 5.";

}  // namespace

void KSPackageRatings::getReviews(const std::string& identifier,
                                  std::function<void(Value result)> completion) {
    KSWebService::shared().get(
        "reviews", {{"package", identifier}},
        [self = shared_from_this(), completion = std::move(completion)](Result<Value> reply) {
            auto reviews = reply
                               ? KSWebServiceFields::records<KSReviews>(*reply, KSReviews::fromJSON)
                               : std::nullopt;
            if (!reviews) {
                if (reply) {
                    KSLog("The reviews reply is not a list of reviews");
                }
                completion(Value());
                return;
            }
            {
                std::lock_guard lock(self->mutex_);
                self->packageReviews_ = std::move(reviews);
            }
            completion(Value("Success"));
        });
}

std::optional<std::vector<KSReviews>> KSPackageRatings::packageReviews() const {
    std::lock_guard lock(mutex_);
    return packageReviews_;
}

void KSPackageRatings::getAverageRate(
    const std::string& identifier,
    std::function<void(std::optional<std::string> rating)> completion) {
    KSWebService::shared().get(
        "rating", {{"package", identifier}},
        [completion = std::move(completion)](Result<Value> reply) {
            completion(reply ? KSWebServiceFields::textOrNumber((*reply)["rating"]) : std::nullopt);
        });
}

void KSPackageRatings::postRatingReview(const std::string& identifier,
                                        const std::string& description, const std::string& title,
                                        int rate,
                                        std::function<void(std::string answer)> completion) {
    auto& service = KSWebService::shared();
    const auto& account = KSAccount::instance();
    auto token = account->authenticationToken();
    if (!foundation::isPresentText(username_) || account->returnUsername() != username_ || !token) {
        KSLog("The rating of %@ is not sent: nobody is signed in as its user", identifier);
        service.deliver([completion = std::move(completion)] { completion(kNotSignedInAnswer); });
        return;
    }
    if (rate < 1 || rate > 5) {
        service.deliver([completion = std::move(completion)] { completion(kInvalidRateAnswer); });
        return;
    }
    KSWebService::Fields form = {
        {"package", identifier}, {"user", *username_}, {"rate", std::to_string(rate)}};
    if (!description.empty() || !title.empty()) {
        form.emplace_back("title", title);
        form.emplace_back("description", description);
    }
    service.post("rating", form, token, [completion = std::move(completion)](Result<Value> reply) {
        completion(KSWebServiceReply::answer(reply).value_or(kFailedAnswer));
    });
}

}  // namespace corvane
