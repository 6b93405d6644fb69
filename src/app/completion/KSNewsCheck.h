#pragma once

#include <memory>

#include "app/completion/KSLocalNotifications.h"
#include "app/presentations/KSDelegateState.h"

namespace corvane {

// The periodic news check: fetches the maker's news, announces them with a local notification
// when there are more items than the user has been told of (preference NewsCount), and checks
// again two minutes after each answer. Nothing starts it but a call of checkForNews.
class KSNewsCheck : public std::enable_shared_from_this<KSNewsCheck> {
  public:
    static constexpr double kIntervalSeconds = 120;

    KSNewsCheck(std::shared_ptr<KSLocalNotifications> notifications,
                std::shared_ptr<KSDelegateState> state);

    void checkForNews();

  private:
    void newsDidArrive();
    void scheduleNextCheck();

    std::shared_ptr<KSLocalNotifications> notifications_;
    std::shared_ptr<KSDelegateState> state_;
    bool checkPending_ = false;
};

}  // namespace corvane
