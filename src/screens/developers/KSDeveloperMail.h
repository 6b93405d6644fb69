#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "foundation/URL.h"

namespace corvane {

// The mail to a developer about a package: to one plain address, with a subject and nothing
// else. An address a package names could otherwise carry further recipients or fields into
// the mail ("a@b.c?cc=…", "a@b.c,d@e.f"), so anything but a plain address makes no mail.
class KSDeveloperMail {
  public:
    // "Corvane 5: Question regarding %@" with the package's name.
    static std::string subjectForPackage(const std::string& packageName);
    // A "mailto:" link, every byte of recipient and subject but the unreserved ones escaped;
    // nullopt unless the address is plain.
    static std::optional<foundation::URL> link(std::string_view address,
                                               const std::string& packageName);
    // local@domain: letters, digits, ".", "_", "+" and "-" before the "@"; two or more labels
    // of letters, digits and "-" after it.
    static bool isPlainAddress(std::string_view address);
};

}  // namespace corvane
