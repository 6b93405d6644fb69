#pragma once

#include <cassert>
#include <utility>
#include <variant>

#include "foundation/Error.h"

namespace foundation {

// A value or the error that prevented it. Dropping one unread is a compile warning: a failure
// must reach someone, and a call whose failure truly does not matter says so with (void).
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : storage_(std::move(value)) {}
    Result(Error error) : storage_(std::move(error)) {}

    bool ok() const { return storage_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& {
        assert(ok());
        return std::get<0>(storage_);
    }
    T& value() & {
        assert(ok());
        return std::get<0>(storage_);
    }
    T&& value() && {
        assert(ok());
        return std::get<0>(std::move(storage_));
    }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    const Error& error() const {
        assert(!ok());
        return std::get<1>(storage_);
    }
    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

  private:
    std::variant<T, Error> storage_;
};

// For operations that give nothing but may fail.
struct Success {};
using Status = Result<Success>;

}  // namespace foundation

// Ends the calling function with the failure of a Result (a variable or a call, evaluated once),
// as a Result of the caller's own type; goes on when it succeeded.
#define FOUNDATION_RETURN_IF_ERROR(...)                                   \
    do {                                                                  \
        if (auto&& foundationResult_ = (__VA_ARGS__); !foundationResult_) \
            return foundationResult_.error();                             \
    } while (false)
