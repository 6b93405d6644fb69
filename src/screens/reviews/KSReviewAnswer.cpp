#include "screens/reviews/KSReviewAnswer.h"

#include "foundation/Localization.h"

namespace corvane {

namespace {

constexpr const char* kPosted = "Success";
constexpr const char* kUpdated = "Successfully updated";
constexpr const char* kFailed = "Failed";

}  // namespace

bool KSReviewAnswer::isPosted(const std::string& answer) {
    return answer == kPosted || answer == kUpdated;
}

std::string KSReviewAnswer::message(const std::string& answer) {
    if (answer == kPosted)
        return foundation::localized("Review has been successfully posted");
    if (answer == kUpdated)
        return foundation::localized("Review has been successfully updated");
    if (answer == kFailed)
        return foundation::localized("There was an error while posting the review");
    return answer;
}

}  // namespace corvane
