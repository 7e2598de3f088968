// The Win32 clipboard.
#include "platform/win32/clipboard.h"

#include "base/error.h"
#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

// Holds the clipboard open for one operation; another program holding it makes this fail.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    if (!OpenClipboard(owner)) throw Error("the clipboard is held by another program");
  }
  ~OpenClipboardScope() { CloseClipboard(); }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

}  // namespace

void Win32Clipboard::clear() {
  OpenClipboardScope open(owner_);
  if (!EmptyClipboard()) throw Error("cannot empty the clipboard");
}

void Win32Clipboard::set_text(std::u16string_view text) {
  OpenClipboardScope open(owner_);
  UINT format = 0;
  HGLOBAL memory = api::calls().clipboard_text(text, format);
  if (memory == nullptr) throw Error("out of memory for the clipboard text");
  if (SetClipboardData(format, memory) == nullptr) {
    GlobalFree(memory);
    throw Error("cannot put the text on the clipboard");
  }
}

}  // namespace tavo::platform::win32
