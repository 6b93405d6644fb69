#pragma once

#include <string>

namespace uikit {

// A text as describe() shows it: in double quotes, on one line (line breaks written as \n).
std::string quotedForDescription(const std::string& text);

}  // namespace uikit
