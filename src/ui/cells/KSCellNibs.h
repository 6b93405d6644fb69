#pragma once

namespace corvane {

// The nibs of every cell of the interface core, made known at launch so that screens can
// register them with their tables by name.
class KSCellNibs {
  public:
    static void registerNibs();
};

}  // namespace corvane
