#pragma once

namespace corvane {

// The codes stored in a package record's queueOperation.
enum KSRQueueOperation : unsigned {
    KSRQueueOperationNone = 0,
    KSRQueueOperationInstall = 1,
    KSRQueueOperationRemove = 2,
    KSRQueueOperationUpgrade = 3,
    KSRQueueOperationDowngrade = 4,
    // Reinstall of the installed version.
    KSRQueueOperationReinstall = 5,
};

}  // namespace corvane
