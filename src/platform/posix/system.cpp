// What the Linux build reports of the system.
#include "platform/system.h"

namespace tavo::platform::posix {

namespace {

// Reports the NT family.
class PosixSystem final : public SystemInfo {
 public:
  std::uint32_t platform_id() const override { return kPlatformWin32Nt; }
  Vectors vector_instructions() const override {
    return processor_vectors();  // Linux saves the registers of every set that it enables
  }
};

}  // namespace

}  // namespace tavo::platform::posix

auto tavo::platform::make_system_info() -> std::unique_ptr<SystemInfo> {
  return std::make_unique<posix::PosixSystem>();
}
