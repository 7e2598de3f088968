// The one exception type of tavo: a failing operation with a message for the user.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace tavo {

// Thrown by every platform operation that fails, and by the core where a failure is to pass to
// its caller. The message is UTF-8 and names what failed, e.g. "cannot open c:\temp\datas.txt".
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Runs one step that may fail without ending its caller: a failure is swallowed. Returns true
// when the step succeeded.
template <typename Step>
bool attempt(Step&& step) {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace tavo
