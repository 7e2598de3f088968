// tavo_probe's parts that more than one of its sources use; see probe.cpp for the verbs.
#pragma once

#include <windows.h>

#include <string>

namespace tavo_probe {

// Prints `text` as UTF-8 on standard output, without a line end.
void write_out(const std::wstring& text);
// Prints "tavo_probe: MESSAGE" on standard error and exits with status 1.
[[noreturn]] void fail(const char* message);
// The control named `name` (Text1, Text2, Command1) of tavo's window; fails when there is none.
HWND find_control(HWND form, const wchar_t* name);
// A window's text through WM_GETTEXT, which, unlike GetWindowText, reads another process's
// controls.
std::wstring text_of(HWND window);

// probe_host.cpp: how Windows hosts tavo's window.

// True when `control` (an edit box or a button) is one of Common Controls 6, the themed ones: it
// answers a message that only those know.
bool common_controls_6(HWND control);
// "guifont" when Text2 draws in the default GUI font made for `dpi` (0: the system's own font),
// else the width of a text in it and in that font.
int font_of_text2(HWND form, int dpi);
// "window LEFT TOP WIDTH HEIGHT" of tavo's window, on the screen.
int window_rect(HWND form);
// Sends WM_DPICHANGED for `dpi` with the suggested rectangle `frame`, as Windows does when the
// window moves to a monitor of that DPI.
int dpi_changed(HWND form, int dpi, const RECT& frame);
// Writes the window as it is on the screen, frame and all, to `path` as a 24-bit BMP file.
int snapshot(HWND form, const wchar_t* path);

}  // namespace tavo_probe
