// The running process's environment variables.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tavo::platform {

class ProcessEnvironment {
 public:
  virtual ~ProcessEnvironment() = default;
  // The value of `name`; an unset variable reads as the empty text. Names are matched without
  // regard to case, as Windows does. Throws tavo::Error when the system cannot tell it.
  virtual std::u16string get(std::u16string_view name) const = 0;
  // Sets `name` to `value` (the empty text included) for this process; false when refused.
  virtual bool set(std::u16string_view name, std::u16string_view value) = 0;
};

// This process's environment.
std::unique_ptr<ProcessEnvironment> make_environment();

}  // namespace tavo::platform
