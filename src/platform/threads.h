// Threads of this process, for reading a file ahead of its search.
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
  // How many of this process's threads can run at once: its processors.
  virtual unsigned processors() const = 0;
  // Runs `work` on a new thread. Throws tavo::Error when no thread can be made.
  virtual std::unique_ptr<Thread> start(std::function<void()> work) = 0;
  // Lets another thread that is ready run on this one's processor.
  virtual void yield() = 0;
  // Gives up the processor for about a millisecond.
  virtual void rest() = 0;
};

}  // namespace tavo::platform
