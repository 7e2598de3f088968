// Starting programs in the Linux build.
#include "platform/programs.h"

#include "base/error.h"
#include "platform/posix/folders.h"

namespace tavo::platform::posix {

namespace {

// Command scripts are Windows batch files: starting one here always fails.
class NoPrograms final : public Programs {
 public:
  void start_script(std::u16string_view path, int) override {
    throw Error("cannot start " + to_posix_path(path) + ": command scripts run only on Windows");
  }
};

}  // namespace

}  // namespace tavo::platform::posix

auto tavo::platform::make_programs() -> std::unique_ptr<Programs> {
  return std::make_unique<posix::NoPrograms>();
}
