#include "support/DebianArchive.h"

#include <fstream>
#include <stdexcept>

#include "support/ToolRun.h"

namespace testing_support {

namespace {

void write(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::filesystem::path inside(const std::filesystem::path& tree, const std::string& devicePath) {
    return tree / std::filesystem::path(devicePath).relative_path();
}

}  // namespace

DebianArchive::DebianArchive(std::string name, std::string version)
    : name_(std::move(name)), version_(std::move(version)) {}

DebianArchive& DebianArchive::field(const std::string& name, const std::string& value) {
    fields_[name] = value;
    return *this;
}

DebianArchive& DebianArchive::file(const std::string& path, const std::string& contents) {
    files_[path] = contents;
    return *this;
}

DebianArchive& DebianArchive::link(const std::string& path, const std::string& target) {
    links_[path] = target;
    return *this;
}

DebianArchive& DebianArchive::script(const std::string& name, const std::string& body) {
    scripts_[name] = body;
    return *this;
}

std::string DebianArchive::build(const std::filesystem::path& folder) const {
    const auto tree = folder / (name_ + "_" + version_ + ".tree");
    const auto archive = folder / (name_ + "_" + version_ + ".deb");
    std::filesystem::remove_all(tree);
    writeTree(tree);
    const int status = runTool(
        {"dpkg-deb", "--root-owner-group", "-Zgzip", "--build", tree.string(), archive.string()});
    std::filesystem::remove_all(tree);
    if (status != 0)
        throw std::runtime_error("dpkg-deb could not build " + archive.string());
    return archive.string();
}

std::string DebianArchive::control() const {
    std::string text = "Package: " + name_ + "\nVersion: " + version_ +
                       "\nArchitecture: iphoneos-arm\nMaintainer: Example <example@example.com>\n";
    for (const auto& [name, value] : fields_)
        text += name + ": " + value + "\n";
    return text + "Description: A package built by a test\n";
}

void DebianArchive::writeTree(const std::filesystem::path& tree) const {
    write(tree / "DEBIAN" / "control", control());
    for (const auto& [name, body] : scripts_) {
        const auto path = tree / "DEBIAN" / name;
        write(path, "#!/bin/sh\nset -e\n" + body + "\n");
        std::filesystem::permissions(path, std::filesystem::perms(0755));
    }
    for (const auto& [path, contents] : files_)
        write(inside(tree, path), contents);
    for (const auto& [path, target] : links_) {
        std::filesystem::create_directories(inside(tree, path).parent_path());
        std::filesystem::create_symlink(target, inside(tree, path));
    }
}

}  // namespace testing_support
