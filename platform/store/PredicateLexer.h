#pragma once

#include <string_view>
#include <vector>

#include "store/PredicateToken.h"

namespace store {

// Splits a predicate format into tokens; throws PredicateError at a character it cannot read.
class PredicateLexer {
  public:
    explicit PredicateLexer(std::string_view format) : format_(format) {}

    std::vector<PredicateToken> tokens();

  private:
    PredicateToken next();
    PredicateToken quoted();
    PredicateToken number();
    PredicateToken argument();
    PredicateToken modifier();
    PredicateToken symbol();
    [[noreturn]] void fail(const std::string& what) const;

    std::string_view format_;
    std::size_t position_ = 0;
};

}  // namespace store
