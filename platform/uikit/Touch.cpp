#include "uikit/Touch.h"

#include "uikit/View.h"

namespace uikit {

Point Touch::locationInView(const View* target) const {
    if (!target)
        return location;
    return target->convertPointFrom(location, nullptr);
}

}  // namespace uikit
