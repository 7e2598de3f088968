// The process environment of tavo.exe.
#pragma once

#include "platform/environment.h"

namespace tavo::platform::win32 {

// Reads with GetEnvironmentVariable in the family's form; sets with SetEnvironmentVariableA.
class Win32Environment final : public ProcessEnvironment {
 public:
  std::u16string get(std::u16string_view name) const override;
  bool set(std::u16string_view name, std::u16string_view value) override;
};

}  // namespace tavo::platform::win32
