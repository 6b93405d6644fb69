#include "uikit/ClassName.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace uikit {

std::string className(const std::type_info& type) {
    const char* mangled = type.name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && readable ? readable.get() : mangled;
}

}  // namespace uikit
