#pragma once

#include <mutex>
#include <optional>
#include <string>

namespace uikit {

// The general pasteboard (text only).
class Pasteboard {
  public:
    static Pasteboard& general();

    std::optional<std::string> string() const;
    void setString(std::optional<std::string> text);
    bool hasStrings() const;

  private:
    mutable std::mutex mutex_;
    std::optional<std::string> string_;
};

}  // namespace uikit
