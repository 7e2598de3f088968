// tavo_probe: what the window shows of how Windows hosts it: Common Controls 6.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "probe.h"

namespace tavo_probe {

namespace {

// Memory in the process that owns a window, for a message whose lParam points at data: a
// message to another process carries no data with it unless the system knows its layout, and
// neither Windows nor Wine knows Common Controls' messages.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, const void* data, std::size_t size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (process_ == nullptr) fail("cannot open the window's process");
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address_ == nullptr || !WriteProcessMemory(process_, address_, data, size, nullptr)) {
      fail("cannot write into the window's process");
    }
  }
  ~RemoteBlock() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

LRESULT send_waiting(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result)) {
    fail("the window did not answer within 5 s");
  }
  return static_cast<LRESULT>(result);
}

}  // namespace

bool common_controls_6(HWND control) {
  wchar_t kind[32] = {};
  GetClassNameW(control, kind, 32);
  if (_wcsicmp(kind, L"Edit") == 0) {
    // An empty cue banner, which shows nothing: the classic edit box does not know the message.
    const wchar_t none[] = L"";
    const RemoteBlock text(control, none, sizeof none);
    return send_waiting(control, EM_SETCUEBANNER, FALSE, text.address()) == TRUE;
  }
  const RECT margin{};
  const RemoteBlock place(control, &margin, sizeof margin);
  return send_waiting(control, BCM_GETTEXTMARGIN, 0, place.address()) == TRUE;
}

}  // namespace tavo_probe
