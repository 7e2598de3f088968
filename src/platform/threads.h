// Threads of this process, for searching the second half of a large file beside the first.
#pragma once

#include <functional>
#include <memory>

namespace tavo::platform {

// A thread that runs a piece of work; destroying it waits for the work to end.
class Thread {
 public:
  virtual ~Thread() = default;
};

class Threads {
 public:
  virtual ~Threads() = default;
  // How many of this process's threads can run at once: the processors it may run on, as its
  // affinity (taskset, start /affinity, a job, a container's share) allows.
  virtual unsigned processors() const = 0;
  // Runs `work` on a new thread. Throws tavo::Error when no thread can be made.
  virtual std::unique_ptr<Thread> start(std::function<void()> work) = 0;
};

// This system's threads.
std::unique_ptr<Threads> make_threads();

}  // namespace tavo::platform
