#pragma once

#include "foundation/Value.h"
#include "framework/debian/ControlStanza.h"
#include "framework/storage/KSRPackage.h"

namespace corvane {

// How the fields of a control stanza (a repository index or the dpkg status file, as
// ControlFileParser reads them) become the control fields of a package record.
class KSRPackageControlFields {
  public:
    // Sets name (the Package when there is no Name), version, description, section, people,
    // depiction, icon, sizes, file, checksums, architecture, dependencies and tag from the
    // stanza; a field the stanza lacks becomes unset. The identifier, the source, the install,
    // queue and user fields are left alone.
    static void apply(const foundation::Dictionary& stanza, KSRPackage& package);
    // The same from the stanza as a StanzaReader found it, read as ControlFileParser would read
    // it into a dictionary, without making one.
    static void apply(const ControlStanza& stanza, KSRPackage& package);
};

}  // namespace corvane
