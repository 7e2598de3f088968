// The process environment of tavo.exe.
#include "platform/environment.h"

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

// Reads with GetEnvironmentVariable in the family's form; sets with SetEnvironmentVariableA.
class Win32Environment final : public ProcessEnvironment {
 public:
  std::u16string get(std::u16string_view name) const override {
    return api::calls().environment_variable(name);
  }
  bool set(std::u16string_view name, std::u16string_view value) override {
    return api::set_environment_variable_a(name, value);
  }
};

}  // namespace

}  // namespace tavo::platform::win32

auto tavo::platform::make_environment() -> std::unique_ptr<ProcessEnvironment> {
  return std::make_unique<win32::Win32Environment>();
}
