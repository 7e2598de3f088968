// Views of files mapped for reading, and the exception handler that keeps a cut file from ending
// tavo.exe.
#include "platform/win32/file_views.h"

#include "base/watched_views.h"
#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

// A read of a view whose file is gone raises an in-page error on Windows, and an access
// violation under Wine. A view cannot be unmapped in part: in a watched view, the whole view
// becomes zeros at the same place, the place of the failed read is noted, and the read goes on.
// A callback: Windows promises it only 4-byte stack alignment on i686.
__attribute__((force_align_arg_pointer)) LONG CALLBACK on_exception(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  if ((record.ExceptionCode != EXCEPTION_IN_PAGE_ERROR &&
       record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION) ||
      record.NumberParameters < 2) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  const std::uintptr_t at = record.ExceptionInformation[1];
  WatchedView* view = watched_view_at(at);
  if (view == nullptr || view->replaced || !UnmapViewOfFile(view->base())) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  view->replaced = true;
  if (VirtualAlloc(view->base(), view->size(), MEM_RESERVE | MEM_COMMIT, PAGE_READONLY) !=
      view->base()) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  view->note_cut(at);
  return EXCEPTION_CONTINUE_EXECUTION;
}

// True once the handler is in place; never on 95, 98, ME, NT 4.0 and 2000.
bool watching_for_cuts() {
  static const bool installed = [] {
    if (!api::unicode()) return false;
    using Add = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
    const auto add = api::kernel32_function<Add>("AddVectoredExceptionHandler");
    return add != nullptr && add(1, &on_exception) != nullptr;
  }();
  return installed;
}

class Win32View final : public FileView {
 public:
  explicit Win32View(WatchedView& view) : view_(view) {}
  ~Win32View() override {
    // The slot may be taken by another thread's view once it is given back.
    char* const base = view_.base();
    const bool replaced = view_.replaced;
    unwatch_view(view_);
    if (replaced) {
      VirtualFree(base, 0, MEM_RELEASE);
    } else {
      UnmapViewOfFile(base);
    }
  }
  Win32View(const Win32View&) = delete;
  Win32View& operator=(const Win32View&) = delete;

  const char* data() const override { return view_.base(); }
  std::optional<std::uint64_t> cut() const override { return view_.cut(); }

 private:
  WatchedView& view_;
};

}  // namespace

std::size_t allocation_granularity() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwAllocationGranularity > 0 ? info.dwAllocationGranularity : 65536;
}

std::unique_ptr<FileView> map_view(HANDLE file, std::uint64_t offset, std::size_t size) {
  if (!watching_for_cuts()) return nullptr;
  // The section ends where the view does, which a file cut shorter meanwhile refuses.
  const std::uint64_t end = offset + size;
  HANDLE section = CreateFileMappingA(file, nullptr, PAGE_READONLY, static_cast<DWORD>(end >> 32),
                                      static_cast<DWORD>(end), nullptr);
  if (section == nullptr) return nullptr;
  void* base = MapViewOfFile(section, FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                             static_cast<DWORD>(offset), size);
  CloseHandle(section);  // the view keeps the section
  if (base == nullptr) return nullptr;
  WatchedView* view = watch_view(static_cast<char*>(base), size, offset);
  if (view == nullptr) {
    UnmapViewOfFile(base);
    return nullptr;
  }
  return std::make_unique<Win32View>(*view);
}

}  // namespace tavo::platform::win32
