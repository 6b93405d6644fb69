#include "foundation/Date.h"

#include <chrono>

namespace foundation {

double Date::now() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

double Date::fromUTC(int year, int month, int day, int hour, int minute, double second) {
    using namespace std::chrono;
    sys_days date = std::chrono::year(year) / std::chrono::month(static_cast<unsigned>(month)) /
                    std::chrono::day(static_cast<unsigned>(day));
    return static_cast<double>(date.time_since_epoch().count()) * 86400 + hour * 3600.0 +
           minute * 60.0 + second;
}

}  // namespace foundation
