// What the Linux build reports of the system.
#pragma once

#include "platform/system.h"

namespace tavo::platform::posix {

// Reports the NT family.
class PosixSystem final : public SystemInfo {
 public:
  std::uint32_t platform_id() const override { return kPlatformWin32Nt; }
  Vectors vector_instructions() const override;
};

}  // namespace tavo::platform::posix
