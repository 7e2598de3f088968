// The process environment of tavo.exe.
#include "platform/win32/services.h"

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

std::u16string Win32Environment::get(std::u16string_view name) const {
  return api::calls().environment_variable(name);
}

bool Win32Environment::set(std::u16string_view name, std::u16string_view value) {
  return api::set_environment_variable_a(name, value);
}

}  // namespace tavo::platform::win32
