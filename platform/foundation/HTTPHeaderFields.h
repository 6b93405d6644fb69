#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace foundation {

// HTTP header fields in the order they were set; names compare without regard to case.
class HTTPHeaderFields {
  public:
    using Field = std::pair<std::string, std::string>;

    std::optional<std::string> value(std::string_view name) const;
    // Replaces the field; nullopt removes it. A name that is no HTTP token is refused, and line
    // breaks in a value become spaces, so that no value can start a header of its own.
    void set(std::string_view name, std::optional<std::string_view> value);
    // Appends to the field's value with ", ", as repeated header lines combine.
    void add(std::string_view name, std::string_view value);

    const std::vector<Field>& fields() const { return fields_; }
    bool empty() const { return fields_.empty(); }

  private:
    std::vector<Field>::iterator find(std::string_view name);
    std::vector<Field>::const_iterator find(std::string_view name) const;

    std::vector<Field> fields_;
};

}  // namespace foundation
