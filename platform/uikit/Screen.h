#pragma once

#include <mutex>

#include "uikit/Geometry.h"

namespace uikit {

// The device's display. Settable so tests can pose as any device; readable from any thread.
class Screen {
  public:
    static Screen& main();

    Rect bounds() const;
    void setBounds(const Rect& bounds);
    // Pixels per point.
    double scale() const;
    void setScale(double scale);

  private:
    mutable std::mutex mutex_;
    Rect bounds_{0, 0, 375, 667};
    double scale_ = 2;
};

}  // namespace uikit
