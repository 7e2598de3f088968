// What tavo.exe asks of the system.
#include "platform/system.h"

#include <windows.h>

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

// GetVersionExA on a 148-byte record.
class Win32System final : public SystemInfo {
 public:
  std::uint32_t platform_id() const override;
  // SSE2 where IsProcessorFeaturePresent, which 95 lacks, reports it; AVX2 where, beyond that,
  // the system has enabled the saving of its registers.
  Vectors vector_instructions() const override;
};

std::uint32_t Win32System::platform_id() const {
  return api::platform_id();
}

Vectors Win32System::vector_instructions() const {
  // AVX2 is reported only where the system has enabled the saving of its registers in the
  // processor, which no Windows before 7 SP1 does.
  const Vectors processor = processor_vectors();
#if defined(__i386__)
  // The system reports SSE2 only where it saves its registers; Windows 95 has no such report.
  if (processor == Vectors::none) return processor;
  constexpr DWORD kSse2 = 10;  // PF_XMMI64_INSTRUCTIONS_AVAILABLE
  const auto present = api::kernel32_function<BOOL(WINAPI*)(DWORD)>("IsProcessorFeaturePresent");
  if (present == nullptr || !present(kSse2)) return Vectors::none;
#endif
  return processor;
}

}  // namespace

}  // namespace tavo::platform::win32

auto tavo::platform::make_system_info() -> std::unique_ptr<SystemInfo> {
  return std::make_unique<win32::Win32System>();
}
