#pragma once

namespace foundation {

// Moments as seconds since 1970 (UTC), the form values, records and files carry them in.
class Date {
  public:
    // The wall-clock time, for stamps that are stored or shown. Delays and timers read the run
    // loop's clock instead, which tests move by hand.
    static double now();
    // A moment given in UTC, months and days counted from 1.
    static double fromUTC(int year, int month, int day, int hour = 0, int minute = 0,
                          double second = 0);
};

}  // namespace foundation
