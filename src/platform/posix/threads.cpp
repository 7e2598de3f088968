// Threads of the Linux build.
#include <unistd.h>

#include <chrono>
#include <system_error>
#include <thread>

#include "base/error.h"
#include "platform/posix/services.h"

namespace tavo::platform::posix {

namespace {

class PosixThread final : public Thread {
 public:
  explicit PosixThread(std::function<void()> work) : thread_(std::move(work)) {}
  ~PosixThread() override { thread_.join(); }
  PosixThread(const PosixThread&) = delete;
  PosixThread& operator=(const PosixThread&) = delete;

 private:
  std::thread thread_;
};

}  // namespace

unsigned PosixThreads::processors() const {
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<unsigned>(online) : 1;
}

std::unique_ptr<Thread> PosixThreads::start(std::function<void()> work) {
  try {
    return std::make_unique<PosixThread>(std::move(work));
  } catch (const std::system_error& failure) {
    throw Error(std::string("cannot start a thread: ") + failure.what());
  }
}

void PosixThreads::yield() {
  std::this_thread::yield();
}

void PosixThreads::rest() {
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace tavo::platform::posix
