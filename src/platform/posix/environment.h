// The process environment of the Linux build.
#pragma once

#include "platform/environment.h"

namespace tavo::platform::posix {

// Names match without regard to case, as on Windows. Windows always sets "temp"; here an unset
// "temp" reads as the user's runtime folder, $XDG_RUNTIME_DIR, or without it as the state
// folder that stands in for "c:\\temp".
class PosixEnvironment final : public ProcessEnvironment {
 public:
  std::u16string get(std::u16string_view name) const override;
  bool set(std::u16string_view name, std::u16string_view value) override;
};

}  // namespace tavo::platform::posix
