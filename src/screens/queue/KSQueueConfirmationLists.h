#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/apt/APTDependsTree.h"
#include "framework/storage/KSRPackage.h"

namespace corvane {

// The three lists of the queue confirmation: the queued packages APT is to act on, the other
// packages its simulation adds or removes, and the queued packages that cannot be processed.
// Identifiers are compared ignoring case, as APT folds package names to lower case.
class KSQueueConfirmationLists {
  public:
    enum Section : int { queuedPackages = 0, requiredPackages = 1, incompatiblePackages = 2 };
    static constexpr int kSectionCount = 3;

    // The queued records, in order. One whose identifier or version APT would refuse goes
    // straight to the incompatible list, with the reason.
    static KSQueueConfirmationLists fromQueue(const std::vector<KSRPackage>& queued);

    // Empty for a section number out of range.
    const std::vector<KSRPackage>& section(int section) const;
    // Why the package cannot be processed, when that is known: its queue entry was refused, or
    // APT's simulation failed over it (then APT's words).
    std::optional<std::string> refusalOf(const std::string& identifier) const;

    // The queue string APT is handed for the queued list; nothing when the list is empty.
    std::optional<std::string> queueString() const;
    // APT can be asked to run the queue: the queued list holds packages and none is incompatible.
    bool canProceed() const;

    // The simulation's outcome: the stored packages it depends on or removes join the required
    // list (once each, never one already queued); those it cannot process leave the queued and
    // required lists for the incompatible one. When it failed, the queued packages each line of
    // the failure names, or all of them when a line names none, go to the incompatible list
    // with that line as the reason.
    void applyTree(const APTDependsTree& tree);
    // Takes the row out of its list; nothing for a row that is not there.
    std::optional<KSRPackage> removeRow(int section, int row);
    // The required list belongs to a simulation that no longer holds.
    void dropRequired() { lists_[requiredPackages].clear(); }

  private:
    void addRequired(const std::string& identifier);
    void moveIncompatible(const std::string& identifier);
    void applyFailure(const std::vector<std::string>& lines);
    std::vector<std::string> queuedConcernedBy(const std::string& line) const;

    std::vector<KSRPackage> lists_[kSectionCount];
    std::map<std::string, std::string> refusals_;
};

}  // namespace corvane
