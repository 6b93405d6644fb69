#pragma once

#include <string>
#include <typeinfo>

namespace uikit {

// The readable name of a class, as log lines name what they are about.
std::string className(const std::type_info& type);

}  // namespace uikit
