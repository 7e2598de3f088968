// tavo_probe: what the window shows of how Windows hosts it: the DPI it is drawn at, its font,
// Common Controls 6, and a picture of it.
//
// Wine 8 hosts every program as per-monitor DPI aware, so this probe reads the window in the
// same pixels that tavo draws it in.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "probe.h"

namespace tavo_probe {

namespace {

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1 and later

// Memory in the process that owns a window, for a message whose lParam points at data: a
// message to another process carries no data with it unless the system knows its layout, and
// neither Windows nor Wine knows WM_DPICHANGED's or Common Controls' messages.
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

// WM_GETFONT does not cross processes under Wine, so the font of Text2 is told from the width
// of a text in it.
int font_of_text2(HWND form, int dpi) {
  HWND box = find_control(form, L"Text2");
  const std::wstring saved = text_of(box);
  const wchar_t sample[] = L"WWWWWWWWi";
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(sample));
  const auto first = SendMessageW(box, EM_POSFROMCHAR, 0, 0);
  const auto last = SendMessageW(box, EM_POSFROMCHAR, 8, 0);
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.c_str()));
  const int shown = static_cast<short>(LOWORD(last)) - static_cast<short>(LOWORD(first));

  HDC screen = GetDC(nullptr);
  const HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
  HGDIOBJ made = nullptr;
  if (dpi != 0) {
    // The stock font is made for the system DPI; the font for another is the same scaled.
    LOGFONTW font{};
    GetObjectW(stock, sizeof font, &font);
    font.lfHeight = MulDiv(font.lfHeight, dpi, GetDeviceCaps(screen, LOGPIXELSY));
    made = CreateFontIndirectW(&font);
  }
  const HGDIOBJ previous = SelectObject(screen, made != nullptr ? made : stock);
  SIZE extent{};
  GetTextExtentPoint32W(screen, sample, 8, &extent);
  SelectObject(screen, previous);
  if (made != nullptr) DeleteObject(made);
  ReleaseDC(nullptr, screen);
  write_out(shown == extent.cx ? std::wstring(L"guifont")
                               : std::to_wstring(shown) + L" " + std::to_wstring(extent.cx));
  return 0;
}

int window_rect(HWND form) {
  RECT frame{};
  GetWindowRect(form, &frame);
  write_out(L"window " + std::to_wstring(frame.left) + L" " + std::to_wstring(frame.top) + L" " +
            std::to_wstring(frame.right - frame.left) + L" " +
            std::to_wstring(frame.bottom - frame.top));
  return 0;
}

int dpi_changed(HWND form, int dpi, const RECT& frame) {
  const RemoteBlock suggested(form, &frame, sizeof frame);
  send_waiting(form, kDpiChanged, MAKEWPARAM(dpi, dpi), suggested.address());
  return 0;
}

int snapshot(HWND form, const wchar_t* path) {
  RECT frame{};
  GetWindowRect(form, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // rows from the bottom up, as a BMP file keeps them
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const auto row = static_cast<std::size_t>((width * 3 + 3) & ~3);
  std::vector<char> pixels(row * static_cast<std::size_t>(height));

  HDC screen = GetDC(nullptr);
  HDC copy = CreateCompatibleDC(screen);
  HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(copy, picture);
  const bool taken = BitBlt(copy, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY) &&
                     GetDIBits(copy, picture, 0, static_cast<UINT>(height), pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
  SelectObject(copy, previous);
  DeleteObject(picture);
  DeleteDC(copy);
  ReleaseDC(nullptr, screen);
  if (!taken) fail("cannot copy the window from the screen");

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  std::FILE* out = _wfopen(path, L"wb");
  if (out == nullptr) fail("cannot write the picture");
  const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                       std::fwrite(&header, sizeof header, 1, out) == 1 &&
                       std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  if (std::fclose(out) != 0 || !written) fail("cannot write the picture");
  return 0;
}

}  // namespace tavo_probe
