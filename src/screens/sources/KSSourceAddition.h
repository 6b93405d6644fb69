#pragma once

#include <functional>
#include <memory>
#include <string>

#include "foundation/ObservationToken.h"
#include "foundation/Value.h"
#include "uikit/ViewController.h"

namespace corvane {

// Adds a repository and follows what becomes of this one addition: the sources
// collection refuses it at once, or stores it and has it refreshed. Only the addition's own
// outcome ends it, never a notification that merely names the same address (another addition's
// refusal, the payment client's sign-in): a stored source ends with the pipeline's report that
// its refresh has finished. A plain http repository is added only once the person has approved
// the collection's warning. Main thread.
class KSSourceAddition : public std::enable_shared_from_this<KSSourceAddition> {
  public:
    enum class Outcome { refreshed, refused, declined };
    // message is the refusal's own text (refused only).
    using Completion = std::function<void(Outcome outcome, const std::string& message)>;
    // Shows the approval question; false when there is nothing to show it from.
    using Presenting = std::function<bool(const std::shared_ptr<uikit::ViewController>& alert)>;

    // title heads the question this addition may ask.
    KSSourceAddition(Presenting presenting, std::string title, std::string address);

    // The completion runs once, on a later turn of the main thread; never after this object
    // has gone.
    void start(Completion completion);
    // The location the collection names the source by.
    const std::string& location() const { return location_; }

  private:
    void add(bool httpApproval);
    void observeRefresh();
    void refused(const std::string& refusal);
    void askForHttpApproval(const std::string& message);
    void finish(Outcome outcome, const std::string& message = {});

    Presenting presenting_;
    std::string title_;
    std::string address_;
    std::string location_;
    Completion completion_;
    foundation::ObservationToken observation_;
};

}  // namespace corvane
