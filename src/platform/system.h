// What the operating system says of itself.
#pragma once

#include <cstdint>

namespace tavo::platform {

inline constexpr std::uint32_t kPlatformWin32Windows = 1;  // the 9x family
inline constexpr std::uint32_t kPlatformWin32Nt = 2;       // the NT family

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // The platform id of the version record; 0 when the query fails.
  virtual std::uint32_t platform_id() const = 0;
  // True when this process may use SSE2: the processor has it and the system saves its
  // registers (Windows 95 does not).
  virtual bool vector_instructions() const = 0;
};

}  // namespace tavo::platform
