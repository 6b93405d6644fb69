#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "foundation/Result.h"
#include "foundation/Value.h"

namespace foundation {

// The application's main bundle: its identity and the resources it ships.
class Bundle {
  public:
    // The environment variable MAIN_BUNDLE_RESOURCES when set, else the folder the build names.
    static std::string resourcesPath();
    // "<resources>/<name>.<extension>" when that file is there; an extension may also be part
    // of the name. A name that is not one plain file name finds nothing.
    static std::optional<std::string> pathForResource(std::string_view name,
                                                      std::string_view extension = {});
    // The same inside a folder of the resources ("Assets", "Assets/Player"); nothing when a
    // component of the folder is empty, "." or "..", so no name reaches outside the resources.
    static std::optional<std::string> pathForResource(std::string_view name,
                                                      std::string_view extension,
                                                      std::string_view directory);
    // The property list "<name>.plist"; an error of "NSCocoaErrorDomain" when it is absent or
    // malformed.
    static Result<Value> plistResource(std::string_view name);
    // The bundle's "Info.plist" (from the build's resources when the chosen folder has none);
    // an empty dictionary when it is missing or malformed.
    static const Value& infoDictionary();
    static std::string bundleIdentifier() {
        return infoDictionary()["CFBundleIdentifier"].stringValue();
    }
    static std::string name() { return infoDictionary()["CFBundleName"].stringValue(); }
    static std::string shortVersion() {
        return infoDictionary()["CFBundleShortVersionString"].stringValue();
    }
};

}  // namespace foundation
