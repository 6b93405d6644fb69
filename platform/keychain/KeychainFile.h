#pragma once

#include <map>
#include <string>

#include "foundation/Result.h"

namespace keychain {

// service -> account -> password
using PasswordItems = std::map<std::string, std::map<std::string, std::string>>;

// The keychain's one file: a property list of services, each a dictionary of accounts and their
// passwords (as data, so any bytes survive). Only its owner may read it, from the moment it
// exists.
//
// A file that is there but is no keychain (not a property list, the wrong shape, too large)
// reads as empty and is logged. It is left alone until the next save, which first moves it aside
// to "<name>.corrupt" (or ".corrupt-2", ...) so that nothing in it is lost. A file that cannot be
// read at all is an error, never taken for an empty keychain.
class KeychainFile {
  public:
    static constexpr std::size_t kMaximumSize = 4 * 1024 * 1024;

    explicit KeychainFile(std::string path) : path_(std::move(path)) {}

    foundation::Result<PasswordItems> load();
    foundation::Status save(const PasswordItems& items);
    const std::string& path() const { return path_; }

  private:
    PasswordItems readAsCorrupt(const std::string& why);
    foundation::Status moveCorruptFileAside();
    foundation::Status prepareOwnerOnlyFile() const;

    const std::string path_;
    bool corrupt_ = false;
};

}  // namespace keychain
