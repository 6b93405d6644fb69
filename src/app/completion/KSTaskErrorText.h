#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Error.h"
#include "foundation/Value.h"

namespace corvane {

// Turns a failed task's error into the text the user reads. An error of the system's own
// domain that carries no description gets the "Errors" table's text for its code, with the
// package it concerns; every other error keeps its own description.
class KSTaskErrorText {
  public:
    static constexpr const char* kDomain = "com.kestrune.corvane";
    // A task that failed without saying why.
    static constexpr long kUnexplainedFailure = 399;
    static constexpr const char* kSupportContact = "support@kestrune.example";

    // The error a finished task reported: the one in the value, else the unexplained failure
    // of the own domain.
    static foundation::Error errorOfFailure(const foundation::Value& errorValue);
    // The error with a description: rebuilt as above when it needs one, else unchanged.
    static foundation::Error describedError(const foundation::Error& error);

    // The table's template for the code filled with the arguments, by position. A template that
    // asks for more arguments than there are, or for anything but objects, is not used: the
    // fallback text naming the code is.
    static std::string textForCode(long code, const std::vector<foundation::Value>& arguments);
    static std::string fallbackText(long code);
    // How many arguments the template takes (the highest position it names); nullopt when it
    // asks for a conversion other than an object ("%@").
    static std::optional<std::size_t> objectArgumentCount(std::string_view format);
};

}  // namespace corvane
