// Starting programs in the Linux build.
#include "platform/posix/services.h"

#include "base/error.h"
#include "platform/posix/folders.h"

namespace tavo::platform::posix {

void NoPrograms::start_script(std::u16string_view path, int) {
  throw Error("cannot start " + to_posix_path(path) + ": command scripts run only on Windows");
}

}  // namespace tavo::platform::posix
