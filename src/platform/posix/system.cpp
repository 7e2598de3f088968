// What the Linux build reports of the system.
#include "platform/posix/services.h"

namespace tavo::platform::posix {

Vectors PosixSystem::vector_instructions() const {
  return processor_vectors();  // Linux saves the registers of every set that it enables
}

}  // namespace tavo::platform::posix
