#pragma once

#include <string_view>

// Checks that keep repository data out of command lines: a package name or a version from an
// index reaches APT and dpkg only when it matches Debian's grammar.
namespace corvane {

// [a-z0-9][a-z0-9+.-]+, upper case letters included: repositories of this field publish
// identifiers such as "com.Example.Tweak", and dpkg and APT fold them to lower case themselves.
// A leading '-' (an option to the tools) and '_', '/', ':', blanks or shell characters never pass.
bool isValidPackageName(std::string_view text);

// [epoch:]upstream[-revision]: the epoch all digits and no greater than dpkg accepts (2^31 - 1);
// the upstream version starts with a digit and holds letters, digits and ".+~-", and ':' only
// after an epoch; a revision after the last '-' is not empty and holds letters, digits and ".+~".
bool isValidDebianVersion(std::string_view text);

}  // namespace corvane
