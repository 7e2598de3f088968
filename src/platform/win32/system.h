// What tavo.exe asks of the system.
#pragma once

#include "platform/system.h"

namespace tavo::platform::win32 {

// GetVersionExA on a 148-byte record.
class Win32System final : public SystemInfo {
 public:
  std::uint32_t platform_id() const override;
  // SSE2 where IsProcessorFeaturePresent, which 95 lacks, reports it; AVX2 where, beyond that,
  // the system has enabled the saving of its registers.
  Vectors vector_instructions() const override;
};

}  // namespace tavo::platform::win32
