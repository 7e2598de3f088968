// Starting programs from tavo.exe.
#pragma once

#include "platform/programs.h"

namespace tavo::platform::win32 {

// CreateProcess with the quoted script path as the whole command line; never waits.
class Win32Programs final : public Programs {
 public:
  void start_script(std::u16string_view path, int show) override;
};

}  // namespace tavo::platform::win32
