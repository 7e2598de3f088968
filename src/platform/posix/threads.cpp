// Threads of the Linux build.
#include <sched.h>
#include <unistd.h>

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
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
    const int count = CPU_COUNT(&allowed);
    if (count > 0) return static_cast<unsigned>(count);
  }
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

}  // namespace tavo::platform::posix
