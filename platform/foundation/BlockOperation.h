#pragma once

#include <functional>

#include "foundation/Operation.h"

namespace foundation {

// An operation whose work is one block.
class BlockOperation : public Operation {
  public:
    explicit BlockOperation(std::function<void()> block) : block_(std::move(block)) {}

  protected:
    void main() override {
        if (block_)
            block_();
    }

  private:
    std::function<void()> block_;
};

}  // namespace foundation
