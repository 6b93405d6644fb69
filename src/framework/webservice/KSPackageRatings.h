#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "framework/webservice/KSReviews.h"

namespace corvane {

// Ratings and reviews of packages on the maker's web service. Held by shared_ptr: a request
// keeps its client alive until the completion has run. Every completion runs on the URL-loading
// queue, never on the main thread.
class KSPackageRatings : public std::enable_shared_from_this<KSPackageRatings> {
  public:
    // The answer of a post that was not sent because the client's user is not the signed-in
    // account.
    static constexpr const char* kNotSignedInAnswer =
        "Sign in to your Kestrune account to rate and review packages.";
    // The answer of a post the service did not take: no reply, an error status, no "answer".
    static constexpr const char* kFailedAnswer = "Failed";

    // A client without a user reads ratings and reviews but posts nothing.
    explicit KSPackageRatings(std::optional<std::string> username = std::nullopt)
        : username_(std::move(username)) {}

    // Replaces packageReviews with the package's reviews and calls with "Success"; on a failure
    // (logged) packageReviews is left as it was and the completion gets nil.
    void getReviews(const std::string& identifier,
                    std::function<void(foundation::Value result)> completion);
    // nullopt until a getReviews succeeded.
    std::optional<std::vector<KSReviews>> packageReviews() const;

    // The package's average rating as text, nullopt on any failure.
    void getAverageRate(const std::string& identifier,
                        std::function<void(std::optional<std::string> rating)> completion);

    // Sends the user's rating (1 to 5), with the review only when title or description is not
    // empty. The answer is the service's ("Success", "Successfully updated", "Failed" or another
    // message), kFailedAnswer when the service gave none, and kNotSignedInAnswer (nothing sent)
    // unless the client's user is the signed-in account.
    void postRatingReview(const std::string& identifier, const std::string& description,
                          const std::string& title, int rate,
                          std::function<void(std::string answer)> completion);

  private:
    const std::optional<std::string> username_;
    mutable std::mutex mutex_;
    std::optional<std::vector<KSReviews>> packageReviews_;
};

}  // namespace corvane
