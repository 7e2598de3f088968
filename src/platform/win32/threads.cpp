// Threads of tavo.exe.
#include "platform/threads.h"

#include <windows.h>

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

class Win32Thread final : public Thread {
 public:
  explicit Win32Thread(std::function<void()> work) : work_(std::move(work)) {
    DWORD id = 0;
    handle_ = CreateThread(nullptr, 0, &Win32Thread::entry, this, 0, &id);
    if (handle_ == nullptr) throw api::last_error("cannot start a thread");
  }
  ~Win32Thread() override {
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
  }
  Win32Thread(const Win32Thread&) = delete;
  Win32Thread& operator=(const Win32Thread&) = delete;

 private:
  // Windows promises a new thread only 4-byte stack alignment on i686, where the compiler
  // assumes 16 for its SSE spills.
  __attribute__((force_align_arg_pointer)) static DWORD WINAPI entry(void* self) {
    static_cast<Win32Thread*>(self)->work_();
    return 0;
  }

  std::function<void()> work_;
  HANDLE handle_ = nullptr;
};

// CreateThread, which every Windows has; the C++ library's threads need a runtime that the
// MinGW-w64 of Windows 95 and NT 4.0 does not link in.
class Win32Threads final : public Threads {
 public:
  unsigned processors() const override;
  std::unique_ptr<Thread> start(std::function<void()> work) override;
};

unsigned Win32Threads::processors() const {
  // Those of the process's affinity (start /affinity, a job); 95 lacks the call.
  using Affinity = BOOL(WINAPI*)(HANDLE, PDWORD_PTR, PDWORD_PTR);
  const auto affinity = api::kernel32_function<Affinity>("GetProcessAffinityMask");
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  if (affinity != nullptr && affinity(GetCurrentProcess(), &process, &system) && process != 0) {
    return static_cast<unsigned>(__builtin_popcountll(process));
  }
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
}

std::unique_ptr<Thread> Win32Threads::start(std::function<void()> work) {
  return std::make_unique<Win32Thread>(std::move(work));
}

}  // namespace

}  // namespace tavo::platform::win32

auto tavo::platform::make_threads() -> std::unique_ptr<Threads> {
  return std::make_unique<win32::Win32Threads>();
}
