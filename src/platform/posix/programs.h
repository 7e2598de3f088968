// Starting programs in the Linux build.
#pragma once

#include "platform/programs.h"

namespace tavo::platform::posix {

// Command scripts are Windows batch files: starting one here always fails.
class NoPrograms final : public Programs {
 public:
  void start_script(std::u16string_view path, int show) override;
};

}  // namespace tavo::platform::posix
