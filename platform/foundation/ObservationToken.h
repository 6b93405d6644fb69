#pragma once

#include <functional>
#include <utility>

namespace foundation {

// Keeps one observation alive: when the token is destroyed or reset, the observation ends and
// its handler is never called again.
class ObservationToken {
  public:
    ObservationToken() = default;
    explicit ObservationToken(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    ObservationToken(ObservationToken&& other) noexcept
        : cancel_(std::exchange(other.cancel_, {})) {}
    ObservationToken& operator=(ObservationToken&& other) noexcept {
        if (this != &other) {
            reset();
            cancel_ = std::exchange(other.cancel_, {});
        }
        return *this;
    }
    ObservationToken(const ObservationToken&) = delete;
    ObservationToken& operator=(const ObservationToken&) = delete;
    ~ObservationToken() { reset(); }

    void reset() {
        if (auto cancel = std::exchange(cancel_, {}))
            cancel();
    }
    explicit operator bool() const { return static_cast<bool>(cancel_); }

  private:
    std::function<void()> cancel_;
};

}  // namespace foundation
