#pragma once

#include <string>

namespace corvane {

// What the ratings service's answer to a posted review tells the user.
class KSReviewAnswer {
  public:
    // "Success" and "Successfully updated": the review is on the service.
    static bool isPosted(const std::string& answer);
    // The known answers in words; any other answer is the service's own message.
    static std::string message(const std::string& answer);
};

}  // namespace corvane
