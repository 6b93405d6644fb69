#pragma once

#include <string>

namespace corvane {

// The sounds of a finished package operation, "task_success.aiff" and "task_fail.aiff" in the
// application's resources. Played only when the preference PlaySounds is on and the task
// belongs to the package-operation pipeline; a missing sound file is ignored.
class KSCompletionSounds {
  public:
    static constexpr const char* kSuccessSound = "task_success.aiff";
    static constexpr const char* kFailureSound = "task_fail.aiff";

    static void playForTask(const std::string& pipelineID, bool success);
};

}  // namespace corvane
