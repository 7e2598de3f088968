// The process environment of the Linux build.
#include "platform/posix/services.h"

#include <cstdlib>
#include <string>

#include "platform/posix/folders.h"
#include "platform/posix/utf.h"

extern char** environ;

namespace tavo::platform::posix {

std::u16string PosixEnvironment::get(std::u16string_view name) const {
  const std::string wanted = to_utf8(name);
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view pair(*entry);
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && same_ignoring_case(pair.substr(0, equals), wanted)) {
      return from_utf8(pair.substr(equals + 1));
    }
  }
  if (same_ignoring_case(wanted, "temp")) {
    // The script's folder: the user's runtime folder, or the state folder.
    const auto runtime = absolute_folder("XDG_RUNTIME_DIR");
    return from_utf8(runtime ? *runtime : state_folder());
  }
  return {};
}

bool PosixEnvironment::set(std::u16string_view name, std::u16string_view value) {
  const std::string key = to_utf8(name);
  if (key.empty() || key.find('=') != std::string::npos || key.find('\0') != std::string::npos) {
    return false;
  }
  return setenv(key.c_str(), to_utf8(value).c_str(), 1) == 0;
}

}  // namespace tavo::platform::posix
