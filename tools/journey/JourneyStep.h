#pragma once

#include <string>
#include <vector>

#include "foundation/Result.h"

namespace corvane::journey {

// One thing a person does, read from a line of a steps file:
//   open URL        another application hands the URL over
//   tap TITLE       a finger taps what reads TITLE on screen (a button, a bar button, a tab, an
//                   alert's button, a row's text), the frontmost first
//   press TITLE     the same, held for a second (a long press)
//   expect TEXT     the screen shows TEXT somewhere, in the application's views or in the banner
//                   of a notification it presented (where a failed task is told)
//   show NAME       the screen is printed, and drawn as NAME when pictures are asked for
//   shortcut TITLE  the person picks the shortcut TITLE on the application's home-screen icon
//                   (the one way a person refreshes every source on demand, which an update
//                   served after the first refresh needs)
// Blank lines and lines starting with "#" are no steps.
struct JourneyStep {
    enum class Kind { open, tap, press, expect, show, shortcut };

    Kind kind = Kind::show;
    std::string argument;
    // The line of the steps file, for messages.
    int line = 0;

    std::string text() const;
    static foundation::Result<std::vector<JourneyStep>> parse(const std::string& steps);
};

}  // namespace corvane::journey
