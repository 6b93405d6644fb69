#pragma once

#include <memory>
#include <vector>

namespace uikit {

class View;

// Gathers layout requests and carries them out on the main run loop's next turn, ancestors
// before descendants. A request made while a pass runs goes into the next pass.
class LayoutPass {
  public:
    // False when the view cannot be queued yet (not held by a std::shared_ptr).
    static bool request(View& view);

  private:
    static void run();
    static std::vector<std::weak_ptr<View>>& pending();
    static bool& scheduled();
};

}  // namespace uikit
