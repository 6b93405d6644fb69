#include "app/completion/KSCompletionSounds.h"

#include "audio/AudioPlayer.h"
#include "foundation/Bundle.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/tasks/KSPipelineManager.h"

namespace corvane {

void KSCompletionSounds::playForTask(const std::string& pipelineID, bool success) {
    if (pipelineID != KSPipelinePackageOperation ||
        !CorvanePersistentPreferences::sharedInstance().boolForKey("PlaySounds"))
        return;
    auto path =
        foundation::Bundle::resourcesPath() + "/" + (success ? kSuccessSound : kFailureSound);
    if (auto player = audio::AudioPlayer::withContentsOfFile(path))
        (*player)->play();
}

}  // namespace corvane
