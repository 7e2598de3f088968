// Views of files mapped for reading, and the SIGBUS handler that keeps a cut file from ending tavo.
#include "platform/posix/file_views.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <mutex>

#include "base/watched_views.h"

namespace tavo::platform::posix {

namespace {

struct sigaction g_previous {};
std::uintptr_t g_page = 4096;

// A read of a mapped page that the file no longer has raises SIGBUS. In a watched view, the
// rest of the view from that page on becomes zeros, the place is noted, and the read goes on;
// any other SIGBUS is handled as it was before tavo's handler.
void on_bus_error(int signal, siginfo_t* info, void*) {
  const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
  if (WatchedView* view = watched_view_at(at)) {
    const std::uintptr_t page = at & ~(g_page - 1);
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(view->base()) + view->size();
    if (::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
               MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
      view->note_cut(page);
      return;
    }
  }
  // Returning makes the read fault again, now under the handling from before.
  ::sigaction(signal, &g_previous, nullptr);
}

void watch_for_cuts() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    g_page = page_size();
    struct sigaction action {};
    action.sa_sigaction = &on_bus_error;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previous);
  });
}

class PosixView final : public FileView {
 public:
  explicit PosixView(WatchedView& view) : view_(view) {}
  ~PosixView() override {
    // The slot may be taken by another thread's view once it is given back.
    char* const base = view_.base();
    const std::size_t size = view_.size();
    unwatch_view(view_);
    ::munmap(base, size);
  }
  PosixView(const PosixView&) = delete;
  PosixView& operator=(const PosixView&) = delete;

  const char* data() const override { return view_.base(); }
  std::optional<std::uint64_t> cut() const override { return view_.cut(); }

 private:
  WatchedView& view_;
};

}  // namespace

std::size_t page_size() {
  const long size = ::sysconf(_SC_PAGESIZE);
  return size > 0 ? static_cast<std::size_t>(size) : 4096;
}

std::unique_ptr<FileView> map_view(int descriptor, std::uint64_t offset, std::size_t size) {
  watch_for_cuts();
  void* base =
      ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor, static_cast<off_t>(offset));
  if (base == MAP_FAILED) return nullptr;
  WatchedView* view = watch_view(static_cast<char*>(base), size, offset);
  if (view == nullptr) {
    ::munmap(base, size);
    return nullptr;
  }
  return std::make_unique<PosixView>(*view);
}

}  // namespace tavo::platform::posix
