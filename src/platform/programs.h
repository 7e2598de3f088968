// Starting another program without waiting for it.
#pragma once

#include <memory>
#include <string_view>

namespace tavo::platform {

inline constexpr int kShowMinimized = 2;  // minimized and activated

class Programs {
 public:
  virtual ~Programs() = default;
  // Starts the command script at `path` with the window style `show`; does not wait. Throws
  // tavo::Error when it cannot be started.
  virtual void start_script(std::u16string_view path, int show) = 0;
};

// Starting programs, where this system can start a command script.
std::unique_ptr<Programs> make_programs();

}  // namespace tavo::platform
