// Threads of the Linux build.
#include "platform/threads.h"

#include <sched.h>
#include <unistd.h>

#include <system_error>
#include <thread>

#include "base/error.h"

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

// Threads of the C++ library.
class PosixThreads final : public Threads {
 public:
  unsigned processors() const override;
  std::unique_ptr<Thread> start(std::function<void()> work) override;
};

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

}  // namespace

}  // namespace tavo::platform::posix

auto tavo::platform::make_threads() -> std::unique_ptr<Threads> {
  return std::make_unique<posix::PosixThreads>();
}
