#include "screens/KSScreens.h"

namespace corvane {

void registerScreens() {}

}  // namespace corvane
