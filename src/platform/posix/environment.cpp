// The process environment of the Linux build.
#include "platform/environment.h"

#include <cstdlib>
#include <string>

#include "platform/posix/folders.h"
#include "platform/posix/utf.h"

extern char** environ;

namespace tavo::platform::posix {

namespace {

// Names match without regard to case, as on Windows. Windows always sets "temp"; here an unset
// "temp" reads as the user's runtime folder, $XDG_RUNTIME_DIR, or without it as the state
// folder that stands in for "c:\\temp", and throws tavo::Error when there is neither.
class PosixEnvironment final : public ProcessEnvironment {
 public:
  std::u16string get(std::u16string_view name) const override;
  bool set(std::u16string_view name, std::u16string_view value) override;
};

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

}  // namespace

}  // namespace tavo::platform::posix

auto tavo::platform::make_environment() -> std::unique_ptr<ProcessEnvironment> {
  return std::make_unique<posix::PosixEnvironment>();
}
