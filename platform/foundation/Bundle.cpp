#include "foundation/Bundle.h"

#include <cstdlib>

#include "foundation/FileManager.h"
#include "foundation/PropertyList.h"
#include "foundation/Strings.h"

namespace foundation {

std::string Bundle::resourcesPath() {
    const char* overridden = std::getenv("MAIN_BUNDLE_RESOURCES");
    return overridden && *overridden ? overridden : MAIN_BUNDLE_RESOURCES_DIR;
}

std::optional<std::string> Bundle::pathForResource(std::string_view name,
                                                   std::string_view extension) {
    return pathForResource(name, extension, {});
}

std::optional<std::string> Bundle::pathForResource(std::string_view name,
                                                   std::string_view extension,
                                                   std::string_view directory) {
    std::string fileName(name);
    if (!extension.empty())
        fileName = appendingPathExtension(fileName, extension);
    if (!isSafeFileName(fileName))
        return std::nullopt;
    std::string folder = resourcesPath();
    if (!directory.empty()) {
        for (const auto& component : split(directory, "/")) {
            if (!isSafeFileName(component))
                return std::nullopt;
            folder = appendingPathComponent(folder, component);
        }
    }
    std::string path = appendingPathComponent(folder, fileName);
    if (!FileManager::fileExists(path) || FileManager::isDirectory(path))
        return std::nullopt;
    return path;
}

const Value& Bundle::infoDictionary() {
    // Never destroyed, like the bundle it describes: threads may read it while the process exits.
    static const Value* info = [] {
        for (const std::string& folder :
             {resourcesPath(), std::string(MAIN_BUNDLE_RESOURCES_DIR)}) {
            auto read = PropertyList::readFile(appendingPathComponent(folder, "Info.plist"));
            if (read.ok() && read->isDictionary())
                return new Value(read.value());
        }
        return new Value(Dictionary{});
    }();
    return *info;
}

Result<Value> Bundle::plistResource(std::string_view name) {
    auto path = pathForResource(name, "plist");
    if (!path) {
        return Error::make(FileManager::kErrorDomain, FileManager::kReadNoSuchFile,
                           "The resource \u201C" + std::string(name) + ".plist\u201D is missing.");
    }
    return PropertyList::readFile(*path);
}

}  // namespace foundation
