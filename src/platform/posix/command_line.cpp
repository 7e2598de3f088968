// The command line of the Linux build.
#include "platform/posix/services.h"

#include "platform/posix/utf.h"

namespace tavo::platform::posix {

ArgumentList::ArgumentList(int argc, const char* const* argv) {
  std::string joined;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) joined.push_back(' ');
    joined += argv[i];
  }
  text_ = from_utf8(joined);
}

}  // namespace tavo::platform::posix
