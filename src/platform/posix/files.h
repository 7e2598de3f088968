// What the Linux build's files share with the registry file.
#pragma once

#include <string_view>

namespace tavo::platform::posix {

// Writes all of `bytes` to `descriptor`, again where the system wrote only some or was
// interrupted; false when the system refuses (errno tells why).
bool write_all(int descriptor, std::string_view bytes);

}  // namespace tavo::platform::posix
