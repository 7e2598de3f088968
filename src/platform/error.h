// The one exception type of tavo: a failing operation with a message for the user.
#pragma once

#include <stdexcept>
#include <string>

namespace tavo {

// Thrown by every platform operation that fails, and by the core where a failure is to pass to
// its caller. The message is UTF-8 and names what failed, e.g. "cannot open c:\temp\datas.txt".
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tavo
