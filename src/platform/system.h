// What the operating system says of itself.
#pragma once

#include <cstdint>
#include <memory>

namespace tavo::platform {

inline constexpr std::uint32_t kPlatformWin32Windows = 1;  // the 9x family
inline constexpr std::uint32_t kPlatformWin32Nt = 2;       // the NT family

// The widest vector instructions that this process may use, each including the ones before.
enum class Vectors : std::uint8_t { none, sse2, avx2 };

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // The platform id of the version record; 0 when the query fails.
  virtual std::uint32_t platform_id() const = 0;
  // The widest vector instructions that the processor has and whose registers the system saves
  // on a task switch: Windows 95 saves no SSE2 registers, and only systems that enable them in
  // the processor (Windows 7 SP1 and later) save AVX's.
  virtual Vectors vector_instructions() const = 0;
};

// The widest vector instructions that the processor reports. For AVX2 the report includes the
// system's enabling of its registers (XGETBV); whether the system saves SSE2's is its own to ask.
inline Vectors processor_vectors() {
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("avx2")) return Vectors::avx2;
  return __builtin_cpu_supports("sse2") ? Vectors::sse2 : Vectors::none;
#else
  return Vectors::none;
#endif
}

// What this system says of itself.
std::unique_ptr<SystemInfo> make_system_info();

}  // namespace tavo::platform
