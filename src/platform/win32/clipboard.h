// The Win32 clipboard, owned by Form1's window.
#pragma once

#include <windows.h>

#include "platform/clipboard.h"

namespace tavo::platform::win32 {

class Win32Clipboard final : public Clipboard {
 public:
  // `owner` becomes the clipboard owner when it is cleared.
  explicit Win32Clipboard(HWND owner) : owner_(owner) {}
  void clear() override;
  // Puts the text as CF_UNICODETEXT on the NT family, where the system offers CF_TEXT from it,
  // and as CF_TEXT in the ANSI code page on the 9x family.
  void set_text(std::u16string_view text) override;

 private:
  HWND owner_;
};

}  // namespace tavo::platform::win32
