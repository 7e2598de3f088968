// The DPI that tavo.exe's window is drawn at, and the default GUI font made for it.
//
// Windows 10 1607 and later tell a per-monitor aware program the DPI of each window's monitor;
// those calls are looked up at run time, never imported, so that 95, 98, ME and NT 4.0, which
// lack them, still load the exe. Where they are missing the system DPI holds for every window.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tavo::platform::win32 {

struct Dpi {
  int x = 96;
  int y = 96;
  bool operator==(const Dpi&) const = default;
};

// The DPI of the screen (LOGPIXELSX and LOGPIXELSY); 96 each when it cannot be read. The stock
// fonts are made for it.
Dpi system_dpi();

// The DPI of the monitor that `window` is on, where Windows tracks it per monitor; `fallback`
// elsewhere, or when the call fails.
Dpi window_dpi(HWND window, Dpi fallback);

// The outer size of a window of `style` whose client area is `width` x `height` pixels at `dpi`:
// its frame measured for that DPI where Windows can, else at the system DPI.
SIZE window_size(int width, int height, DWORD style, Dpi dpi);

// Asks Windows 10 1607, whose per-monitor awareness (version 1) leaves the caption and frame at
// the system DPI, to scale them too; later versions do so by themselves. Call it while handling
// WM_NCCREATE; it does nothing where the call is missing.
void scale_frame_with_monitor(HWND window);

struct FontDeleter {
  void operator()(HFONT font) const;
};
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The default GUI font made for `dpi`, from its size at the system DPI `system`. Null when the
// two are the same, for the stock font is that font, and when it cannot be made: the stock font
// then serves, at the system's size.
OwnedFont gui_font_for(int dpi, int system);

}  // namespace tavo::platform::win32
