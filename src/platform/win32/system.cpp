// What tavo.exe asks of the system.
#include "platform/win32/services.h"

#include <windows.h>

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

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

}  // namespace tavo::platform::win32
