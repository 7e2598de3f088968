// The DPI of tavo.exe's window and its font, with the per-monitor calls found at run time.
#include "platform/win32/dpi.h"

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

// The per-monitor calls of user32.dll, Windows 10 1607 and later.
using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using EnableNonClientDpiScalingCall = BOOL(WINAPI*)(HWND);

template <typename Function>
Function user32_function(const char* name) {
  return api::system_function<Function>("user32.dll", name);
}

}  // namespace

Dpi system_dpi() {
  Dpi dpi;
  if (HDC screen = GetDC(nullptr)) {
    dpi = {GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ReleaseDC(nullptr, screen);
  }
  return dpi;
}

Dpi window_dpi(HWND window, Dpi fallback) {
  static const auto dpi_for_window = user32_function<GetDpiForWindowCall>("GetDpiForWindow");
  if (dpi_for_window == nullptr) return fallback;
  const auto dpi = static_cast<int>(dpi_for_window(window));
  // A monitor's DPI is the same across and down.
  return dpi > 0 ? Dpi{dpi, dpi} : fallback;
}

SIZE window_size(int width, int height, DWORD style, Dpi dpi) {
  static const auto adjust_for_dpi =
      user32_function<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, width, height};
  if (adjust_for_dpi == nullptr ||
      !adjust_for_dpi(&frame, style, FALSE, 0, static_cast<UINT>(dpi.y))) {
    frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void scale_frame_with_monitor(HWND window) {
  static const auto enable =
      user32_function<EnableNonClientDpiScalingCall>("EnableNonClientDpiScaling");
  if (enable != nullptr) enable(window);
}

void FontDeleter::operator()(HFONT font) const {
  DeleteObject(font);
}

OwnedFont gui_font_for(int dpi, int system) {
  if (dpi == system || system <= 0) return nullptr;
  // The A forms exist on both families; the face name is the system's own, in its code page.
  LOGFONTA font{};
  if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) != sizeof font) {
    return nullptr;
  }
  font.lfHeight = MulDiv(font.lfHeight, dpi, system);
  font.lfWidth = MulDiv(font.lfWidth, dpi, system);
  return OwnedFont(CreateFontIndirectA(&font));
}

}  // namespace tavo::platform::win32
