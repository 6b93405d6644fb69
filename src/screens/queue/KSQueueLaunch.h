#pragma once

#include <string>
#include <vector>

#include "framework/apt/APTDependsTree.h"

namespace corvane {

// Hands a confirmed queue to the pipeline, or takes a cancelled one out of the store.
class KSQueueLaunch {
  public:
    // Makes the queue APT's, downloads every package of the tree that has to be downloaded (the
    // last download then runs the queue), or, when none has to be, runs the queue at once; then
    // empties the store's queue.
    static void launchQueueActions(const std::string& queueString, const APTDependsTree& tree);
    // Empties the store's queue and gives the identifiers it held. APT's queue is forgotten too,
    // unless a confirmed queue is still being downloaded or run.
    static std::vector<std::string> cancelQueue();
};

}  // namespace corvane
